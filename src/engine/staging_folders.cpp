#include "engine/staging_folders.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/folder_rights.h"
#include "common/names.h"
#include "common/run_log.h"
#include "common/text.h"
#include "uninstall/stale_staging.h"

StagingFolders::Folder& StagingFolders::FolderOf(const std::string& target, std::string& folder) {
  folder = FolderPart(target);
  const auto found = folders_.emplace(PathKey(folder), Folder());
  Folder& entry = found.first->second;
  if (found.second) entry.cleared = RemoveStaleStagingFolder(folder);  // once, on the first sight
  return entry;
}

void StagingFolders::ClearStale(const std::string& target) {
  std::string folder;
  FolderOf(target, folder);
}

void StagingFolders::MakeStaging(const std::string& folder, Folder& entry) {
  // Only a folder this run made is written into: one that stayed is not.
  const std::string staging = entry.cleared ? JoinBoundedPath(folder, names::kStagingFolder) : std::string();
  if (staging.empty()) return;
  const bool made = rights_ == StagingRights::Administrators ? CreateFolderFor(FolderAccess::Staging, staging, folder)
                                                            : CreateDirectoryA(staging.c_str(), nullptr) != FALSE;
  if (!made) return;
  entry.made = staging;
  entry.held.emplace(staging);
  // Held first, then looked at: from then on the name keeps naming it.
  if (entry.held->Held() && !IsFolderLink(staging)) return;
  RunLogEvent("not used, the staging folder was replaced:", staging);
  entry.held.reset();
}

std::string StagingFolders::StagedName(const std::string& target) {
  std::string folder;
  Folder& entry = FolderOf(target, folder);
  if (!entry.tried) {
    entry.tried = true;
    MakeStaging(folder, entry);
  }
  if (!entry.held) return std::string();
  // Where the system lets a held folder be renamed (Wine does), a link may
  // stand in its place by now: then the rest of the run copies beside.
  if (IsFolderLink(entry.made)) {
    RunLogEvent("not used, the staging folder was replaced:", entry.made);
    entry.held.reset();
    return std::string();
  }
  return JoinBoundedPath(entry.made, NamePart(target));
}

StagingFolders::~StagingFolders() {
  // Empty by now: every staged copy was moved over its target or deleted.
  // Let go first: a held folder cannot be removed. A link in its place is
  // not ours to remove.
  for (auto& entry : folders_) {
    entry.second.held.reset();
    if (!entry.second.made.empty() && !IsFolderLink(entry.second.made)) RemoveDirectoryA(entry.second.made.c_str());
  }
}
