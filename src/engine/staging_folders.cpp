#include "engine/staging_folders.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/names.h"
#include "common/text.h"

std::string StagingFolders::StagedName(const std::string& target) {
  const std::string folder = FolderPart(target);
  const std::string key = PathKey(folder);
  auto found = made_.find(key);
  if (found == made_.end()) {
    std::string staging = JoinBoundedPath(folder, names::kStagingFolder);
    if (staging.empty() || !CreateDirectoryA(staging.c_str(), nullptr)) staging.clear();
    found = made_.emplace(key, staging).first;
  }
  return found->second.empty() ? std::string() : JoinBoundedPath(found->second, NamePart(target));
}

StagingFolders::~StagingFolders() {
  // Empty by now: every staged copy was moved over its target or deleted.
  for (const auto& made : made_) {
    if (!made.second.empty()) RemoveDirectoryA(made.second.c_str());
  }
}
