// A temporary folder for tests of the portable readers and writers, which
// take paths and use C streams only. Built into the Windows test programs
// (under the prefix's temporary folder) and into the native ones.
#pragma once
#include <memory>
#include <string>

#ifdef _WIN32
class TestFolder;
#endif

// What a text-mode stream writes for "\n": CR LF on Windows; there is no text
// mode elsewhere. The platform's own path separator joins the folder and its
// files.
#ifdef _WIN32
inline constexpr char kTextLineEnd[] = "\r\n";
inline constexpr char kPathSeparator[] = "\\";
#else
inline constexpr char kTextLineEnd[] = "\n";
inline constexpr char kPathSeparator[] = "/";
#endif

// A new empty folder, removed with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of `name` directly in the folder, with this platform's separator.
  std::string File(const std::string& name) const;
  // Writes `bytes` to the file `name` (binary), replacing it; its path, or
  // the empty text when it could not be written.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
#ifdef _WIN32
  std::unique_ptr<TestFolder> folder_;  // the Windows test support's own folder
#endif
  std::string path_;
};

// Writes `bytes` to the file (binary), replacing it; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes (binary); empty when it does not open.
std::string ReadFileBytes(const std::string& path);
// True when a file or folder of that path exists (on Windows also with a
// trailing backslash).
bool PathExists(const std::string& path);
