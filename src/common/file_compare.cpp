#include "common/file_compare.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/handle.h"

namespace {

// The attributes a copy takes from its source; the others (archive, and the
// ones the file system keeps) say nothing of the file's content.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// The bytes compared at a time, from each file.
constexpr DWORD kChunk = 64 * 1024;

bool ReadAttributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, data) &&
         !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads exactly `size` bytes, or fails.
bool ReadWhole(HANDLE file, char* buffer, DWORD size) {
  DWORD got = 0;
  return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

HANDLE OpenForReading(const std::string& path, DWORD sharing) {
  return CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                     nullptr);
}

}  // namespace

bool FileMatchesCopyOf(const std::string& source, const std::string& target) {
  WIN32_FILE_ATTRIBUTE_DATA from;
  WIN32_FILE_ATTRIBUTE_DATA to;
  if (!ReadAttributes(source, &from) || !ReadAttributes(target, &to)) return false;
  if (from.nFileSizeHigh != to.nFileSizeHigh || from.nFileSizeLow != to.nFileSizeLow ||
      CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime) != 0 ||
      (from.dwFileAttributes & kCopiedAttributes) != (to.dwFileAttributes & kCopiedAttributes))
    return false;

  const UniqueHandle first(OpenForReading(source, FILE_SHARE_READ));
  // Shared for reading only: a target that another program may be writing
  // is not taken for unchanged.
  const UniqueHandle second(OpenForReading(target, FILE_SHARE_READ));
  if (!first || !second) return false;
  ULONGLONG left = (static_cast<ULONGLONG>(to.nFileSizeHigh) << 32) | to.nFileSizeLow;
  std::vector<char> a(kChunk);
  std::vector<char> b(kChunk);
  while (left > 0) {
    const DWORD chunk = left < kChunk ? static_cast<DWORD>(left) : kChunk;
    if (!ReadWhole(first.get(), a.data(), chunk) || !ReadWhole(second.get(), b.data(), chunk) ||
        std::memcmp(a.data(), b.data(), chunk) != 0)
      return false;
    left -= chunk;
  }
  return true;
}
