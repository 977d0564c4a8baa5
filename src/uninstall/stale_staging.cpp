#include "uninstall/stale_staging.h"

#include <windows.h>

#include <vector>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_removal.h"
#include "common/file_search.h"
#include "common/held_folder.h"
#include "common/names.h"

namespace {

struct StagedFile {
  std::string path;
  DWORD attributes;
};

// The files in `staging`; false when it holds a sub-folder (or a name too
// long to form), which no installation puts there.
bool ListFilesOnly(const std::string& staging, std::vector<StagedFile>& files) {
  const std::string pattern = JoinBoundedPath(staging, "*");
  if (pattern.empty()) return false;
  WIN32_FIND_DATAA found;
  FileSearch search(pattern, &found);
  if (!search.Found()) return true;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    const std::string path = JoinBoundedPath(staging, found.cFileName);
    if (path.empty() || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    files.push_back({path, found.dwFileAttributes});
  } while (search.Next(&found));
  return true;
}

}  // namespace

bool RemoveStaleStagingFolder(const std::string& folder) {
  const std::string staging = JoinBoundedPath(folder, names::kStagingFolder);
  if (staging.empty()) return false;
  const DWORD attributes = GetFileAttributesA(staging.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsGoneError(GetLastError());
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsFolderLink(folder) || IsFolderLink(staging)) return false;

  std::vector<StagedFile> files;
  if (!ListFilesOnly(staging, files)) return false;
  for (const StagedFile& file : files) {
    RemovalOptions options;
    options.clearProtectionOf = file.attributes;
    if (RemoveFileOrFolder(RemovalTarget::File, file.path, options) == RemovalResult::Stays) return false;
  }
  return RemoveFileOrFolder(RemovalTarget::Folder, staging) != RemovalResult::Stays;
}
