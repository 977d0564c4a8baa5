#include "uninstall/uninstall.h"

#include <windows.h>

#include <string>

#include "common/held_folder.h"
#include "common/names.h"
#include "common/registry.h"
#include "uninstall/bounded_path.h"
#include "uninstall/log_replay.h"
#include "uninstall/registry_cleanup.h"

namespace {

// The Shell Folders values that name where default-named items live.
struct ShellFolderValues {
  const char* startup;
  const char* desktop;
  const char* programs;
};
constexpr ShellFolderValues kAllUsersFolders = {names::kCommonStartupValue, names::kCommonDesktopValue,
                                                names::kCommonProgramsValue};
constexpr ShellFolderValues kUserFolders = {names::kStartupValue, names::kDesktopValue, names::kProgramsValue};

// The folder a Shell Folders value names; empty when the value is missing.
std::string ShellFolder(HKEY shellFolders, const char* valueName) {
  return ReadRegistryString(shellFolders, nullptr, valueName);
}

// Deletes the product-named shortcut in the folder `valueName` names.
void DeleteDefaultShortcut(HKEY shellFolders, const char* valueName) {
  const std::string folder = ShellFolder(shellFolders, valueName);
  if (folder.empty()) return;
  const std::string link = JoinBoundedPath(folder, std::string(names::kProductName) + names::kShortcutExtension);
  if (link.empty()) return;
  const HeldFolder in(folder);
  if (in.Held()) DeleteFileA(link.c_str());
}

// Removes the product-named program group under the folder `valueName` names,
// with every file in it, the user's own shortcuts included. A group that is a
// link is left with what it leads to.
void RemoveDefaultGroup(HKEY shellFolders, const char* valueName) {
  const std::string folder = ShellFolder(shellFolders, valueName);
  if (folder.empty()) return;
  const std::string group = JoinBoundedPath(folder, std::string(names::kProductName) + "\\");
  if (group.empty()) return;
  DeleteFilesByPattern("*.*", group);
  RemoveEmptyFolder(group);
}

// The default-named startup and desktop shortcuts and program group of one
// set of shell folders.
void RemoveDefaultNamedItems(HKEY shellFolders, const ShellFolderValues& values) {
  DeleteDefaultShortcut(shellFolders, values.startup);
  DeleteDefaultShortcut(shellFolders, values.desktop);
  RemoveDefaultGroup(shellFolders, values.programs);
}

void RemoveAllUsersDefaultItems() {
  RegKey shellFolders;
  if (shellFolders.Open(HKEY_LOCAL_MACHINE, names::kShellFoldersKey, KEY_QUERY_VALUE))
    RemoveDefaultNamedItems(shellFolders.get(), kAllUsersFolders);
}

void RemoveProfileDefaultItems(HKEY profile) {
  RegKey shellFolders;
  if (shellFolders.Open(profile, names::kShellFoldersKey, KEY_ALL_ACCESS))
    RemoveDefaultNamedItems(shellFolders.get(), kUserFolders);
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
  for (const std::string& log : logs) RemoveLoggedFiles(log.c_str(), folder.c_str(), nullptr, &leftovers);
  DeleteFilesByPattern(names::kUninstallLog, folder, &leftovers);

  // The current folder could keep the installed folder from going.
  SetCurrentDirectoryA("\\");
  RemoveEmptyFolder(folder);

  // Default-named items, found even without a log: for all users, then in
  // every loaded profile.
  RemoveAllUsersDefaultItems();
  ForEachLoadedProfile(&RemoveProfileDefaultItems);
  return leftovers;
}
