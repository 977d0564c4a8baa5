// Clearing the attributes that keep a file from being deleted or replaced.
#pragma once
#include <windows.h>

#include <string>

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
