#include "driver/earlier_group.h"

#include <windows.h>

#include <optional>

#include "common/names.h"
#include "common/registry.h"
#include "driver/shortcut_group.h"
#include "uninstall/bounded_path.h"
#include "uninstall/install_log.h"

std::string RecoverProgramGroup(const std::string& installedFolder, bool allUsers, const std::string& group) {
  std::optional<LogReader> log;
  log.emplace(JoinBoundedPath(installedFolder, names::kUninstallLog).c_str());
  if (!log->IsOpen()) log.emplace(JoinBoundedPath(installedFolder, names::kOldLog).c_str());
  if (!log->IsOpen()) return group;

  const HKEY root = allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  const ShortcutFolders folders = PrepareShortcutFolders(
      ReadRegistryString(root, names::kShellFoldersKey, allUsers ? names::kCommonProgramsValue : names::kProgramsValue),
      ReadRegistryString(root, names::kShellFoldersKey, allUsers ? names::kCommonStartupValue : names::kStartupValue));

  std::string recovered = group;
  while (log->Next()) {
    const char* link = log->Argument(logprefix::kShellLink);
    if (link) ShortcutGroupOf(link, folders, &recovered);
  }
  return recovered;
}
