// raw_delete FOLDER
// The limit for a program that removes file by file: every file under FOLDER
// deleted with DeleteFileA, every folder removed with RemoveDirectoryA.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool Join(char* out, const char* folder, const char* name) {
  const int n = std::snprintf(out, MAX_PATH, "%s\\%s", folder, name);
  return n > 0 && n < MAX_PATH;
}

long DeleteTree(const char* folder) {
  char pattern[MAX_PATH];
  if (!Join(pattern, folder, "*")) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long deleted = 0;
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    char path[MAX_PATH];
    if (!Join(path, folder, found.cFileName)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      deleted += DeleteTree(path);
    else if (DeleteFileA(path))
      ++deleted;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  RemoveDirectoryA(folder);
  return deleted;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: raw_delete FOLDER\n");
    return 2;
  }
  const long deleted = DeleteTree(argv[1]);
  std::printf("%ld files deleted\n", deleted);
  return deleted > 0 ? 0 : 1;
}
