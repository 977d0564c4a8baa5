// A find-file enumeration (FindFirstFileA/FindNextFileA), ended when the
// object goes.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

class FileSearch {
 public:
  // Starts the search; Found() tells whether anything matched, and `found`
  // then holds the first entry.
  FileSearch(const std::string& path, WIN32_FIND_DATAA* found) : handle_(FindFirstFileA(path.c_str(), found)) {}
  ~FileSearch() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA* found) { return FindNextFileA(handle_, found) != FALSE; }

 private:
  HANDLE handle_;
};

// "." and "..": entries of every folder search that name no file.
inline bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }
