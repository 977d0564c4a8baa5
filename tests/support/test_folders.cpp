#include "support/test_folders.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/text.h"
#include "gtest/gtest.h"
#include "support/scratch_folder.h"
#include "support/wait_until.h"

TestFolder::TestFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (unsigned n = GetTickCount();; ++n) {
    char candidate[MAX_PATH];
    std::snprintf(candidate, sizeof candidate, "%s%s-%08x", temp, name, n);
    if (CreateDirectoryA(candidate, nullptr)) {
      path_ = candidate;
      break;
    }
  }
}

TestFolder::~TestFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveDirectoryA(child.c_str());  // a link: what it leads to is not ours
      } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

bool MakeFolders(const std::string& path) {
  if (PathExists(path)) return true;
  // The product's own parent rule: double-byte aware, one trailing backslash
  // ignored.
  const std::string parent = ParentFolder(path);
  if (parent.size() > 2) MakeFolders(parent);
  return CreateDirectoryA(path.c_str(), nullptr) != 0 || PathExists(path);
}

bool CopyTree(const std::string& from, const std::string& to) {
  if (!MakeFolders(to)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool copied = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      copied = CopyTree(from + "\\" + name, to + "\\" + name) && copied;
    else
      copied = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && copied;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return copied;
}

std::string SamplePackageFolder() { return ProgramFolder() + "\\..\\sample-package"; }

bool OthersCanChange(const std::string& path) {
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (writer != INVALID_HANDLE_VALUE) {
    CloseHandle(writer);
    return true;
  }
  const std::string aside = path + ".aside";
  if (MoveFileA(path.c_str(), aside.c_str())) {
    MoveFileA(aside.c_str(), path.c_str());
    return true;
  }
  return DeleteFileA(path.c_str()) != FALSE;
}

UniqueHandle HoldOpen(const std::string& path, DWORD shareMode, DWORD access) {
  UniqueHandle handle(
      CreateFileA(path.c_str(), access, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(handle) << "cannot hold " << path;
  return handle;
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
  static unsigned requestCount = 0;
  const std::string request = "C:\\folder-link-requests\\" + std::to_string(++requestCount);
  if (!WriteFileBytes(request + ".new", link + "\r\n" + target + "\r\n") ||
      !MoveFileA((request + ".new").c_str(), (request + ".req").c_str()))
    return false;
  WaitUntil([&] { return PathExists(request + ".done") || PathExists(request + ".failed"); }, 10000);
  return PathExists(request + ".done");
}
