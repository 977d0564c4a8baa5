#include "common/shell_folders.h"

#include "common/names.h"
#include "common/registry.h"

namespace {

// The name of the place's value, per user or for all users.
const char* ShellFolderValue(ShellPlace place, bool allUsers) {
  switch (place) {
    case ShellPlace::Desktop:
      return allUsers ? names::kCommonDesktopValue : names::kDesktopValue;
    case ShellPlace::Startup:
      return allUsers ? names::kCommonStartupValue : names::kStartupValue;
    case ShellPlace::Programs:
      break;
  }
  return allUsers ? names::kCommonProgramsValue : names::kProgramsValue;
}

}  // namespace

std::string ReadShellFolder(HKEY shellFolders, ShellPlace place, bool allUsers) {
  return ReadRegistryString(shellFolders, nullptr, ShellFolderValue(place, allUsers));
}

std::string ReadShellFolder(ShellPlace place, bool allUsers) {
  return ReadRegistryString(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, names::kShellFoldersKey,
                            ShellFolderValue(place, allUsers));
}
