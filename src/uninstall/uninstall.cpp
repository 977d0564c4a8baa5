#include "uninstall/uninstall.h"

#include <windows.h>

#include <string>

#include "common/bounded_path.h"
#include "common/file_removal.h"
#include "common/held_folder.h"
#include "common/names.h"
#include "common/registry.h"
#include "common/shell_folders.h"
#include "uninstall/log_replay.h"
#include "uninstall/registry_cleanup.h"
#include "uninstall/stale_staging.h"

namespace {

// Deletes the product-named shortcut in the folder `place` names.
void DeleteDefaultShortcut(HKEY shellFolders, ShellPlace place, bool allUsers) {
  const std::string folder = ReadShellFolder(shellFolders, place, allUsers);
  if (folder.empty()) return;
  const std::string link = JoinBoundedPath(folder, std::string(names::kProductName) + names::kShortcutExtension);
  if (link.empty()) return;
  const HeldFolder in(folder);
  if (in.Held()) RemoveFileOrFolder(RemovalTarget::Shortcut, link);
}

// Removes the product-named program group under the programs folder,
// with every file in it, the user's own shortcuts included. A group that is a
// link is left with what it leads to.
void RemoveDefaultGroup(HKEY shellFolders, bool allUsers) {
  const std::string folder = ReadShellFolder(shellFolders, ShellPlace::Programs, allUsers);
  if (folder.empty()) return;
  const std::string group = JoinBoundedPath(folder, std::string(names::kProductName) + "\\");
  if (group.empty()) return;
  DeleteFilesByPattern("*.*", group);
  RemoveEmptyFolder(group);
}

// The default-named startup and desktop shortcuts and program group of one
// set of shell folders: all users' or one profile's.
void RemoveDefaultNamedItems(HKEY shellFolders, bool allUsers) {
  DeleteDefaultShortcut(shellFolders, ShellPlace::Startup, allUsers);
  DeleteDefaultShortcut(shellFolders, ShellPlace::Desktop, allUsers);
  RemoveDefaultGroup(shellFolders, allUsers);
}

void RemoveAllUsersDefaultItems() {
  RegKey shellFolders;
  if (shellFolders.Open(HKEY_LOCAL_MACHINE, names::kShellFoldersKey, KEY_QUERY_VALUE))
    RemoveDefaultNamedItems(shellFolders.get(), true);
}

void RemoveProfileDefaultItems(HKEY profile, const std::string&) {
  RegKey shellFolders;
  if (shellFolders.Open(profile, names::kShellFoldersKey, KEY_ALL_ACCESS))
    RemoveDefaultNamedItems(shellFolders.get(), false);
}

}  // namespace

Leftovers Uninstall(const char* installedFolder) {
  Leftovers leftovers;
  if (!installedFolder || !*installedFolder) return leftovers;
  const std::string folder = installedFolder;

  RemoveProductRegistry();
  RestoreImageAssociations();

  // "install.log" first, then the uninstall log; a path too long to form is
  // empty and reads as a missing log.
  const std::string logs[] = {JoinBoundedPath(folder, names::kOldLog), JoinBoundedPath(folder, names::kUninstallLog)};
  for (const std::string& log : logs) RemoveLoggedLinks(log.c_str(), &leftovers);
  for (const std::string& log : logs) RemoveLoggedFiles(log.c_str(), folder.c_str(), LogKind::None, &leftovers);
  DeleteFilesByPattern(names::kUninstallLog, folder, &leftovers);
  // An installation ended abruptly can leave its staging folder, which would
  // keep the installed folder.
  RemoveStaleStagingFolder(folder);

  // The current folder could keep the installed folder from going.
  SetCurrentDirectoryA("\\");
  RemoveEmptyFolder(folder);

  // Default-named items, found even without a log: for all users, then in
  // every loaded profile.
  RemoveAllUsersDefaultItems();
  ForEachLoadedProfile(&RemoveProfileDefaultItems);
  return leftovers;
}
