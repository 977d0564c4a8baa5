#include "driver/earlier_group.h"

#include <windows.h>

#include <optional>

#include "common/bounded_path.h"
#include "common/names.h"
#include "common/shell_folders.h"
#include "driver/shortcut_group.h"
#include "uninstall/install_log.h"

std::string RecoverProgramGroup(const std::string& installedFolder, bool allUsers, const std::string& group) {
  std::optional<LogReader> log;
  log.emplace(JoinBoundedPath(installedFolder, names::kUninstallLog).c_str());
  if (!log->IsOpen()) log.emplace(JoinBoundedPath(installedFolder, names::kOldLog).c_str());
  if (!log->IsOpen()) return group;

  const ShortcutFolders folders = PrepareShortcutFolders(ReadShellFolder(ShellPlace::Programs, allUsers),
                                                         ReadShellFolder(ShellPlace::Startup, allUsers));

  std::string recovered = group;
  LogEntry entry;
  while (log->NextEntry(entry))
    if (entry.kind == LogKind::ShortcutLink) ShortcutGroupOf(entry.operand, folders, &recovered);
  return recovered;
}
