#include "driver/existing_install.h"

#include <vector>

#include "common/codepage.h"
#include "common/names.h"
#include "common/registry.h"
#include "common/text.h"

namespace {

constexpr char kProgramFilesName[] = "Program Files";

WindowsFolderReader g_readWindowsFolder = &GetWindowsDirectoryA;

// Removes one trailing backslash, a real one: not the trail byte of a
// double-byte character.
void DropTrailingBackslash(std::string& folder) {
  if (!folder.empty() && FindLastChar(folder, '\\') == folder.size() - 1) folder.pop_back();
}

// Offset of the first occurrence of `needle` that starts on a character
// boundary (double-byte aware), or npos.
std::size_t FindText(const std::string& text, const std::string& needle) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (text.compare(pos, needle.size(), needle) == 0) return pos;
    pos += IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
  }
  return std::string::npos;
}

}  // namespace

WindowsFolderReader SetWindowsFolderReader(WindowsFolderReader reader) {
  WindowsFolderReader previous = g_readWindowsFolder;
  g_readWindowsFolder = reader ? reader : &GetWindowsDirectoryA;
  return previous;
}

std::string FindInstalledFolder() {
  std::string folder = ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue);
  if (folder.empty()) {
    const std::string path = ReadRegistryString(HKEY_LOCAL_MACHINE, names::kAppPathKey, nullptr);
    const std::size_t exe = FindText(path, std::string("\\") + names::kApplicationExe);
    if (exe != std::string::npos) folder = path.substr(0, exe);
  }
  DropTrailingBackslash(folder);
  return folder;
}

std::string ProgramFilesFolder() {
  std::string folder =
      ReadRegistryString(HKEY_LOCAL_MACHINE, names::kCurrentVersionKey, names::kProgramFilesDirValue);
  if (folder.empty()) {
    char windows[kMaxPath] = {};
    const UINT length = g_readWindowsFolder(windows, sizeof windows);
    // 0 is a failure; a length of the buffer or more is the size it would
    // need, with nothing written.
    if (length > 0 && length < sizeof windows) folder.assign(windows, length);
    const std::size_t backslash = FindFirstChar(folder, '\\');
    if (backslash != std::string::npos) folder.erase(backslash + 1);
    folder += kProgramFilesName;
  }
  DropTrailingBackslash(folder);
  return folder;
}

FileVersion ReadFileVersion(const std::string& path) {
  FileVersion version;
  if (path.empty() || path.size() >= kMaxPath) return version;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return version;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return version;
  void* data = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", &data, &length) || !data || length < sizeof(VS_FIXEDFILEINFO))
    return version;
  const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
  version.major = HIWORD(fixed->dwFileVersionMS);
  version.minor = LOWORD(fixed->dwFileVersionMS);
  version.third = HIWORD(fixed->dwFileVersionLS);
  version.fourth = LOWORD(fixed->dwFileVersionLS);
  return version;
}

std::uint32_t VersionValue(const FileVersion& version) {
  // Unsigned 32-bit arithmetic wraps modulo 2^32, as the comparison requires.
  std::uint32_t value = version.major;
  value = value * 100u + version.minor;
  value = value * 100u + version.third;
  value = value * 100u + version.fourth;
  return value;
}
