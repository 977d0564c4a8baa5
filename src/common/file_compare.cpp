#include "common/file_compare.h"

#include <algorithm>
#include <vector>

#include "common/handle.h"

namespace {

// The attributes a copy takes from its source; the others (archive, and the
// ones the file system keeps) say nothing of the file's content.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// The bytes compared at a time, from each file.
constexpr DWORD kChunk = 64 * 1024;

// Reads exactly `size` bytes, or fails.
bool ReadWhole(HANDLE file, char* buffer, DWORD size) {
  DWORD got = 0;
  return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

// A file's size, time and attributes without opening it; false for a folder.
bool ReadAttributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, data) &&
         !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Shared for reading only: a file that another program may be writing is
// not opened.
HANDLE OpenForReading(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                     nullptr);
}

}  // namespace

bool SameFileBytes(HANDLE first, HANDLE second) {
  LARGE_INTEGER sizeA{};
  LARGE_INTEGER sizeB{};
  if (!GetFileSizeEx(first, &sizeA) || !GetFileSizeEx(second, &sizeB) || sizeA.QuadPart != sizeB.QuadPart)
    return false;
  std::vector<char> bufferA(kChunk);
  std::vector<char> bufferB(kChunk);
  for (LONGLONG left = sizeA.QuadPart; left > 0;) {
    const DWORD size = left < kChunk ? static_cast<DWORD>(left) : kChunk;
    if (!ReadWhole(first, bufferA.data(), size) || !ReadWhole(second, bufferB.data(), size)) return false;
    if (!std::equal(bufferA.begin(), bufferA.begin() + size, bufferB.begin())) return false;
    left -= size;
  }
  return true;
}

bool FileMatchesCopyOf(const std::string& source, const std::string& target) {
  WIN32_FILE_ATTRIBUTE_DATA from;
  WIN32_FILE_ATTRIBUTE_DATA to;
  if (!ReadAttributes(source, &from) || !ReadAttributes(target, &to)) return false;
  if (from.nFileSizeHigh != to.nFileSizeHigh || from.nFileSizeLow != to.nFileSizeLow ||
      CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime) != 0 ||
      (from.dwFileAttributes & kCopiedAttributes) != (to.dwFileAttributes & kCopiedAttributes))
    return false;
  const UniqueHandle first(OpenForReading(source));
  const UniqueHandle second(OpenForReading(target));
  return first && second && SameFileBytes(first.get(), second.get());
}
