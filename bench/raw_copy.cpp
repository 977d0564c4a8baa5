// raw_copy SOURCE DESTINATION
// The limit for a program that copies file by file: every file under SOURCE
// copied with CopyFileA into the same place under DESTINATION, each folder
// made with CreateDirectoryA first. No existence tests, no reading of a list.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool Join(char* out, const char* folder, const char* name) {
  const int n = std::snprintf(out, MAX_PATH, "%s\\%s", folder, name);
  return n > 0 && n < MAX_PATH;
}

long CopyTree(const char* from, const char* to) {
  CreateDirectoryA(to, nullptr);
  char pattern[MAX_PATH];
  if (!Join(pattern, from, "*")) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long copied = 0;
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!Join(source, from, found.cFileName) || !Join(target, to, found.cFileName)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      copied += CopyTree(source, target);
    else if (CopyFileA(source, target, FALSE))
      ++copied;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return copied;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: raw_copy SOURCE DESTINATION\n");
    return 2;
  }
  const long copied = CopyTree(argv[1], argv[2]);
  std::printf("%ld files copied\n", copied);
  return copied > 0 ? 0 : 1;
}
