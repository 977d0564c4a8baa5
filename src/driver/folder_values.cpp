#include "driver/folder_values.h"

#include "common/codepage.h"
#include "common/names.h"
#include "common/text.h"

namespace {

constexpr char kProgramFilesName[] = "Program Files";

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

std::string FolderOfAppPath(const std::string& appPath) {
  const std::size_t exe = FindText(appPath, std::string("\\") + names::kApplicationExe);
  return exe == std::string::npos ? std::string() : appPath.substr(0, exe);
}

std::string WithoutTrailingBackslash(std::string folder) {
  if (!folder.empty() && FindLastChar(folder, '\\') == folder.size() - 1) folder.pop_back();
  return folder;
}

bool IsDriveRoot(const std::string& folder) {
  return folder.size() == 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
}

std::string InstalledFolderOfValue(std::string folder) {
  if (folder.size() == 2 && HasDriveAt(folder)) folder += '\\';
  return IsDriveRoot(folder) ? folder : WithoutTrailingBackslash(folder);
}

std::string ProgramFilesOfWindowsFolder(const std::string& windowsFolder) {
  std::string folder = windowsFolder;
  const std::size_t backslash = FindFirstChar(folder, '\\');
  if (backslash != std::string::npos) folder.erase(backslash + 1);
  return folder + kProgramFilesName;
}
