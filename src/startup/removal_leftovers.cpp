#include "startup/removal_leftovers.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <vector>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_search.h"
#include "common/held_folder.h"
#include "common/run_log.h"
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

// True when a folder of `path` that the restart would go through is a link
// now: each folder from the installed `folder` down to the leftover's own,
// or, for a leftover elsewhere (a shortcut), its own folder. The restart
// deletes by path, as the system, wherever the path then leads: nothing is
// queued behind a link.
bool LiesBehindALink(const std::string& path, const std::string& folder) {
  if (!IsWithinFolder(path, folder)) {
    const std::string own = FolderPart(path);
    return !own.empty() && IsFolderLink(own);
  }
  const std::string level = WithoutTrailingSeparator(folder);
  if (IsFolderLink(level)) return true;
  // A drive root keeps its separator; any other level is followed by one.
  std::size_t start = level.size();
  if (start < path.size() && path[start] == '\\') ++start;
  const std::string below = path.substr(std::min(path.size(), start));
  // A level past the limit cannot be looked at: nothing is queued there.
  for (const std::string& outer : OuterLevels(level, below)) {
    if (outer.empty() || IsFolderLink(outer)) return true;
  }
  return false;
}

}  // namespace

int SettleLeftovers(const std::string& folder, const Leftovers& leftovers, const std::string& goingNow) {
  const std::string going = PathKey(goingNow);
  std::set<std::string> left;
  bool allQueued = true;
  for (const std::string& path : leftovers) {
    if (PathKey(path) == going || !IsPresent(path) || !left.insert(PathKey(path)).second) continue;
    if (LiesBehindALink(path, folder)) {
      RunLogEvent("left alone, behind a link:", path);
      allQueued = false;
    } else if (!DeferDelete(path.c_str())) {
      allQueued = false;
    }
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
