#include "startup/removal_leftovers.h"

#include <windows.h>

#include <set>
#include <vector>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_search.h"
#include "common/held_folder.h"
#include "common/text.h"
#include "framework/exit_status.h"
#include "startup/deferred_file.h"

namespace {

// True when every file below `folder` is one of `expected` and no folder
// below it is a link; the folders below it are added to `folders`, deepest
// first.
bool HeldOnlyBy(const std::string& folder, const std::set<std::string>& expected, std::vector<std::string>& folders) {
  const std::string pattern = JoinBoundedPath(folder, "*");
  if (pattern.empty()) return false;
  WIN32_FIND_DATAA found;
  FileSearch search(pattern, &found);
  if (!search.Found()) return true;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    const std::string path = JoinBoundedPath(folder, found.cFileName);
    if (path.empty()) return false;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (IsFolderLink(path) || !HeldOnlyBy(path, expected, folders)) return false;
      folders.push_back(path);
    } else if (expected.count(PathKey(path)) == 0) {
      return false;
    }
  } while (search.Next(&found));
  return true;
}
}  // namespace

int SettleLeftovers(const std::string& folder, const Leftovers& leftovers, const std::string& goingNow) {
  const std::string going = PathKey(goingNow);
  std::set<std::string> left;
  bool allQueued = true;
  for (const std::string& path : leftovers) {
    if (PathKey(path) == going || !IsPresent(path) || !left.insert(PathKey(path)).second) continue;
    if (!DeferDelete(path.c_str())) allQueued = false;
  }
  if (left.empty()) return exitstatus::kDone;

  std::set<std::string> expected = left;
  if (!going.empty()) expected.insert(going);
  std::vector<std::string> folders;
  // A drive root is never removed (nor, as "C:", taken for its current folder).
  if (folder.size() > 3 && IsFolder(folder) && !IsFolderLink(folder) && HeldOnlyBy(folder, expected, folders)) {
    folders.push_back(folder);
    // Queued after the files: the restart empties each folder before its turn.
    for (const std::string& each : folders) DeferDelete(each.c_str());
  }
  return allQueued ? exitstatus::kRestartRequired : exitstatus::kFailed;
}
