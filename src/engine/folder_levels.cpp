#include "engine/folder_levels.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/run_log.h"
#include "common/text.h"

bool MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) {
    RunLogEvent("made folder", path);
    return true;
  }
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS) RunLogFailure("make folder", path, error);
  return false;
}

void CreateOuterFolders(const std::string& root, const std::string& relative) {
  // Character-wise, so that a trail byte equal to the backslash code is
  // never taken for a level's end; after a single-byte backslash the rest
  // starts on a character boundary.
  for (std::size_t offset = 0;;) {
    const std::size_t found = FindFirstChar(relative.substr(offset), '\\');
    if (found == std::string::npos) return;
    const std::size_t end = offset + found;
    if (end > 0) {
      const std::string level = JoinBoundedPath(root, relative.substr(0, end));
      if (!level.empty()) MakeFolder(level);
    }
    offset = end + 1;
  }
}

bool MakeDestinationFolder(const std::string& folder) {
  std::string levels = folder;
  NormalizeSlashes(levels);
  TrimSeparators(levels);
  CreateOuterFolders(std::string(), levels);
  MakeFolder(folder);
  return IsFolder(folder);
}
