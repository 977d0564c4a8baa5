#include "driver/earlier_group.h"

#include <windows.h>

#include <optional>

#include "common/names.h"
#include "common/registry.h"
#include "common/text.h"
#include "uninstall/bounded_path.h"
#include "uninstall/install_log.h"

std::string RecoverProgramGroup(const std::string& installedFolder, bool allUsers, const std::string& group) {
  std::optional<LogReader> log;
  log.emplace(JoinBoundedPath(installedFolder, names::kUninstallLog).c_str());
  if (!log->IsOpen()) log.emplace(JoinBoundedPath(installedFolder, names::kOldLog).c_str());
  if (!log->IsOpen()) return group;

  const HKEY root = allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  std::string programs = ReadRegistryString(root, names::kShellFoldersKey,
                                            allUsers ? names::kCommonProgramsValue : names::kProgramsValue);
  std::string startup = ReadRegistryString(root, names::kShellFoldersKey,
                                           allUsers ? names::kCommonStartupValue : names::kStartupValue);
  if (programs.empty() || FindLastChar(programs, '\\') != programs.size() - 1) programs += '\\';
  ToLower(programs);
  // An unreadable Startup folder is the empty text, found in every line: no
  // line counts then.
  ToLower(startup);

  std::string recovered = group;
  while (log->Next()) {
    const char* link = log->Argument(logprefix::kShellLink);
    if (!link) continue;
    std::string lowered = link;
    ToLower(lowered);
    if (lowered.compare(0, programs.size(), programs) != 0) continue;
    if (lowered.find(startup) != std::string::npos) continue;
    recovered = ParentFolder(link + programs.size());
  }
  return recovered;
}
