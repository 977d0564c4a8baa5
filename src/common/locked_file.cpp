#include "common/locked_file.h"

#include <windows.h>

#include "common/file_compare.h"

UniqueHandle LockFileMatching(const std::string& path, const std::string& original) {
  // No security attributes: the handle is not inherited by the process that
  // is started from the file.
  UniqueHandle locked(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!locked) return UniqueHandle();
  UniqueHandle source(CreateFileA(original.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source || !SameFileBytes(locked.get(), source.get())) return UniqueHandle();
  return locked;
}
