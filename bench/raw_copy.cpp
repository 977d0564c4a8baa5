// raw_copy [--safe-replace] SOURCE DESTINATION
// The limit for a program that copies file by file: every file under SOURCE
// copied with CopyFileA into the same place under DESTINATION, each folder
// made with CreateDirectoryA first. No existence tests, no reading of a list.
//
// With --safe-replace, the limit for one that never leaves a cut file in the
// target's place, whether the drive fills up or the run is stopped half-way:
// each file is copied whole with CopyFileA into the staging folder
// "~OrvSetup.staging" of its target's folder (made on that folder's first
// file, removed once the folder is done), then opened there and renamed over
// the target on its own handle (SetFileInformationByHandle, FileRenameInfo,
// ReplaceIfExists), the way setup.exe replaces an installed file.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // SetFileInformationByHandle
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr char kStagingFolder[] = "~OrvSetup.staging";  // setup.exe's name for it

bool Join(char* out, const char* folder, const char* name) {
  const int n = std::snprintf(out, MAX_PATH, "%s\\%s", folder, name);
  return n > 0 && n < MAX_PATH;
}

// Renames `from` over `to` on a handle of its own, replacing what is there.
bool RenameOver(const char* from, const char* to) {
  union {
    FILE_RENAME_INFO info;
    unsigned char bytes[sizeof(FILE_RENAME_INFO) + MAX_PATH * sizeof(wchar_t)];
  } request{};
  const int length = MultiByteToWideChar(CP_ACP, 0, to, -1, request.info.FileName, MAX_PATH);
  if (length <= 1) return false;
  HANDLE file = CreateFileA(from, DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  request.info.ReplaceIfExists = TRUE;
  request.info.RootDirectory = nullptr;
  request.info.FileNameLength = static_cast<DWORD>(length - 1) * sizeof(wchar_t);  // without the terminator
  const BOOL renamed = SetFileInformationByHandle(file, FileRenameInfo, &request.info,
                                                  static_cast<DWORD>(sizeof(FILE_RENAME_INFO) + length * sizeof(wchar_t)));
  CloseHandle(file);
  return renamed != FALSE;
}

// The staging folder of one target folder, made on its first use.
struct Staging {
  char path[MAX_PATH];
  bool made = false;
};

// One file: copied over the target, or (with `staging`) copied whole beside
// it and renamed over it. A staged copy that was not renamed is deleted, so
// that the staging folder can go.
bool CopyOne(const char* source, const char* target, const char* name, Staging* staging) {
  if (!staging) return CopyFileA(source, target, FALSE) != FALSE;
  if (!staging->made) {
    if (!CreateDirectoryA(staging->path, nullptr)) return false;
    staging->made = true;
  }
  char staged[MAX_PATH];
  if (!Join(staged, staging->path, name)) return false;
  if (!CopyFileA(source, staged, FALSE)) return false;
  if (RenameOver(staged, target)) return true;
  DeleteFileA(staged);
  return false;
}

long CopyTree(const char* from, const char* to, bool safeReplace) {
  CreateDirectoryA(to, nullptr);
  char pattern[MAX_PATH];
  Staging staging;
  if (!Join(pattern, from, "*") || !Join(staging.path, to, kStagingFolder)) return 0;
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
      copied += CopyTree(source, target, safeReplace);
    else if (CopyOne(source, target, found.cFileName, safeReplace ? &staging : nullptr))
      ++copied;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  if (staging.made) RemoveDirectoryA(staging.path);
  return copied;
}

}  // namespace

int main(int argc, char** argv) {
  const bool safeReplace = argc == 4 && std::strcmp(argv[1], "--safe-replace") == 0;
  if (argc != 3 && !safeReplace) {
    std::fprintf(stderr, "usage: raw_copy [--safe-replace] SOURCE DESTINATION\n");
    return 2;
  }
  const long copied = CopyTree(argv[argc - 2], argv[argc - 1], safeReplace);
  std::printf("%ld files copied\n", copied);
  return copied > 0 ? 0 : 1;
}
