#include "support/scratch_folder.h"

#include <sys/stat.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include "support/test_folders.h"

ScratchFolder::ScratchFolder() : folder_(std::make_unique<TestFolder>("orvscratch")), path_(folder_->Path()) {}

ScratchFolder::~ScratchFolder() = default;
#else
#include <ftw.h>
#include <unistd.h>

#include <cstdlib>

namespace {
int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }
}  // namespace

ScratchFolder::ScratchFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvscratch-XXXXXX";
  if (mkdtemp(&pattern[0])) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) nftw(path_.c_str(), &RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}
#endif

std::string ScratchFolder::File(const std::string& name) const { return path_ + kPathSeparator + name; }

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = File(name);
  return WriteFileBytes(path, bytes) ? path : std::string();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

bool PathExists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0;
#endif
}
