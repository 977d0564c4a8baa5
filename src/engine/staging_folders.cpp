#include "engine/staging_folders.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/names.h"
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

std::string StagingFolders::StagedName(const std::string& target) {
  std::string folder;
  Folder& entry = FolderOf(target, folder);
  if (!entry.tried) {
    entry.tried = true;
    // Only a folder this run made is written into: one that stayed is not.
    const std::string staging = entry.cleared ? JoinBoundedPath(folder, names::kStagingFolder) : std::string();
    if (!staging.empty() && CreateDirectoryA(staging.c_str(), nullptr)) entry.made = staging;
  }
  return entry.made.empty() ? std::string() : JoinBoundedPath(entry.made, NamePart(target));
}

StagingFolders::~StagingFolders() {
  // Empty by now: every staged copy was moved over its target or deleted.
  for (const auto& entry : folders_) {
    if (!entry.second.made.empty()) RemoveDirectoryA(entry.second.made.c_str());
  }
}
