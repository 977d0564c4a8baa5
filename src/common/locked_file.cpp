#include "common/locked_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kChunk = 64 * 1024;

// Reads exactly `size` bytes, or fails: a short read means a file that changed.
bool ReadWhole(HANDLE file, char* buffer, DWORD size) {
  DWORD got = 0;
  return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

bool SameBytes(HANDLE a, HANDLE b) {
  LARGE_INTEGER sizeA{};
  LARGE_INTEGER sizeB{};
  if (!GetFileSizeEx(a, &sizeA) || !GetFileSizeEx(b, &sizeB) || sizeA.QuadPart != sizeB.QuadPart) return false;
  std::vector<char> bufferA(kChunk);
  std::vector<char> bufferB(kChunk);
  for (LONGLONG left = sizeA.QuadPart; left > 0;) {
    const DWORD size = left < kChunk ? static_cast<DWORD>(left) : kChunk;
    if (!ReadWhole(a, bufferA.data(), size) || !ReadWhole(b, bufferB.data(), size)) return false;
    if (!std::equal(bufferA.begin(), bufferA.begin() + size, bufferB.begin())) return false;
    left -= size;
  }
  return true;
}

}  // namespace

UniqueHandle LockFileMatching(const std::string& path, const std::string& original) {
  // No security attributes: the handle is not inherited by the process that
  // is started from the file.
  UniqueHandle locked(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!locked) return UniqueHandle();
  UniqueHandle source(CreateFileA(original.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source || !SameBytes(locked.get(), source.get())) return UniqueHandle();
  return locked;
}
