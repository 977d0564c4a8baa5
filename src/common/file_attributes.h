// What a file's attributes tell, and clearing the ones that keep a file from
// being deleted or replaced.
#pragma once
#include <windows.h>

#include <string>

// A file or folder of that path exists. The empty path names nothing.
inline bool IsPresent(const std::string& path) {
  return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The error of a deletion or removal that found nothing there: the file, or
// a folder of its path, is gone already. Such a call has nothing left to do.
inline bool IsGoneError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// A folder of that path exists (a file of that name does not count).
inline bool IsFolder(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Clears the read-only and hidden bits of the file at `path`, whose current
// attributes are `attributes`, and keeps the others. A file without them is
// left alone: writing back the same attributes is a wasted call per file of
// an installation or removal.
inline void ClearDeleteProtection(const std::string& path, DWORD attributes) {
  constexpr DWORD kProtection = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  if (!(attributes & kProtection)) return;
  const DWORD cleared = attributes & ~kProtection;
  SetFileAttributesA(path.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL);  // 0 would mean "unchanged"
}
