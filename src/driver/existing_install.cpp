#include "driver/existing_install.h"

#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/text.h"
#include "driver/folder_values.h"

ExistingInstallCalls& ExistingInstallPlatform() {
  static ExistingInstallCalls calls = {&GetWindowsDirectoryA};
  return calls;
}

std::string FindInstalledFolder() {
  std::string folder = ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue);
  if (folder.empty()) folder = FolderOfAppPath(ReadRegistryString(HKEY_LOCAL_MACHINE, names::kAppPathKey, nullptr));
  // A relative name (a value of another type reads as its bytes, a number as
  // "XX") would install wherever the setup was started and register that:
  // it names no earlier installation.
  folder = InstalledFolderOfValue(folder);
  if (!IsFullPath(folder)) return std::string();
  return folder;
}

std::string ProgramFilesFolder() {
  std::string folder =
      ReadRegistryString(HKEY_LOCAL_MACHINE, names::kCurrentVersionKey, names::kProgramFilesDirValue);
  if (folder.empty()) {
    char windows[kMaxPath] = {};
    const UINT length = ExistingInstallPlatform().windowsFolder(windows, sizeof windows);
    // 0 is a failure; a length of the buffer or more is the size it would
    // need, with nothing written.
    std::string windowsFolder;
    if (length > 0 && length < sizeof windows) windowsFolder.assign(windows, length);
    folder = ProgramFilesOfWindowsFolder(windowsFolder);
  }
  return WithoutTrailingBackslash(folder);
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
