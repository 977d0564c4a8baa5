// Temporary folders and small file helpers for tests that work on real files.
#pragma once
#include <windows.h>

#include <string>

#include "common/handle.h"
#include "support/scratch_folder.h"  // WriteFileBytes, ReadFileBytes, PathExists

// A new empty folder under the prefix's temporary folder, removed with all its
// contents when the object goes. Path() has no trailing backslash.
class TestFolder {
 public:
  explicit TestFolder(const char* name = "orvtest");
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + "\" + relative
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

// Removes a folder tree (files' read-only attributes cleared first).
void RemoveTree(const std::string& path);
// The folder that holds the running test program (the build's bin folder).
std::string ProgramFolder();
// Creates the folder and its missing parents.
bool MakeFolders(const std::string& folder);
// Copies a folder tree (creating the target and its parents); false when
// anything could not be copied.
bool CopyTree(const std::string& from, const std::string& to);
// True when the file can be opened for writing, renamed or deleted (as another
// process would try; a rename is undone).
bool OthersCanChange(const std::string& path);
// Holds the file open with `access` and `shareMode` until the handle goes;
// a file that cannot be opened fails the test.
UniqueHandle HoldOpen(const std::string& path, DWORD shareMode, DWORD access = GENERIC_READ);
// Makes `link` a folder link to `target` (both on C:, the link missing, the
// target a folder), as a user could with a junction. Only in programs added
// with FOLDER_LINKS (tests/CMakeLists.txt): the harness makes it.
bool MakeFolderLink(const std::string& link, const std::string& target);
// The sample package the build makes (build/sample-package).
std::string SamplePackageFolder();
