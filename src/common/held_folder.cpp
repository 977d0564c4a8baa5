#include "common/held_folder.h"

#include <windows.h>

#include <utility>

#include "common/file_removal.h"
#include "common/run_log.h"
#include "common/text.h"

namespace {

// A reparse point, told apart by its tag: a name surrogate (junction,
// symbolic link) names another file; other tags only say where the data is.
bool IsSurrogate(HANDLE folder) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(folder, FileAttributeTagInfo, &tag, sizeof tag)) return true;
  // Wine opens the target even so: the handle shows no reparse point where
  // the path shows one, and that is a link too.
  if (!(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  return IsReparseTagNameSurrogate(tag.ReparseTag) != 0;
}

// The folder itself, never what a link at its place leads to. Reading the
// attributes needs no sharing; deletion is not shared, so that nobody
// renames or deletes the folder while the handle is open.
UniqueHandle OpenFolderItself(const std::string& path) {
  return UniqueHandle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The path as the checks use it: no trailing separator (one would make the
// system look through a link), "." for the current folder.
std::string CheckedPath(const std::string& path) {
  const std::string folder = WithoutTrailingSeparator(path);
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace

std::string WithoutTrailingSeparator(const std::string& path) {
  std::string folder = path;
  while (!folder.empty() && FindLastSeparator(folder) == folder.size() - 1) folder.pop_back();
  if (folder.size() == 2 && folder[1] == ':' && path.size() > 2) folder += '\\';
  return folder;
}

bool IsFolderLink(const std::string& path) {
  const std::string folder = CheckedPath(path);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  UniqueHandle handle = OpenFolderItself(folder);
  return !handle || IsSurrogate(handle.get());
}

HeldFolder::HeldFolder(const std::string& path) {
  const std::string folder = CheckedPath(path);
  UniqueHandle handle = OpenFolderItself(folder);
  if (!handle) return;
  // Read once the folder is held: from then on the name keeps naming it.
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsSurrogate(handle.get())) return;
  handle_ = std::move(handle);
}

bool RemoveEmptyFolder(const std::string& path) {
  if (IsFolderLink(path)) {
    RunLogEvent("left alone, a link:", path);
    return false;
  }
  // A folder that still holds files, or is gone already, is no failure: the
  // walk up a logged folder's parents ends at the first that is not empty.
  return RemoveFileOrFolder(RemovalTarget::Folder, path) == RemovalResult::Removed;
}
