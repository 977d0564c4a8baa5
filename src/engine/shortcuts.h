// Shortcuts: the shell-link files the installation makes in the shell's
// folders, each recorded in the uninstall log once saved.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

class PendingRestartList;

// Saves a shortcut to `target` (one leading and one trailing double quote
// dropped) at `shortcutPath`, with an empty description and, when given, the
// working folder stored as passed. A failing SetPath or SetDescription shows
// "SetPath failed!" / "SetDescription failed!" and the shortcut is still
// saved. Once saved, "Shell Link: " + shortcutPath is appended to the
// installed folder's uninstall log. COM is initialised by the first call and
// stays so. Returns the result of the object's creation or of its
// IPersistFile query when those fail, else that of Save; a target of more
// than 511 or a path of more than 259 characters is refused before anything
// is made.
HRESULT CreateShortcut(const std::string& target, const std::string& shortcutPath,
                       const char* workingFolder = nullptr);

// The four shortcuts of the program group, in this order: the application
// (working folder "%APPDATA%"), the help file, the readme, the uninstaller;
// named by the string table, targets in InstallOptions.destinationFolder.
// Each saved shortcut's restart-time deletion, when `restartList` knows one,
// is taken back (PendingRestartList::TakeBackDeletion).
void CreateGroupShortcuts(const std::string& groupFolder, PendingRestartList* restartList = nullptr);

// The application's shortcut, named like the product, in `folder` (the
// desktop or startup folder). An empty folder names no place: nothing made.
// Its restart-time deletion is taken back as in CreateGroupShortcuts.
void CreateApplicationShortcut(const std::string& folder, PendingRestartList* restartList = nullptr);

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support).
struct ShortcutCalls {
  // How the shell-link object is made: CoCreateInstance of CLSID_ShellLink
  // for IShellLinkA, in process.
  HRESULT (*createShellLink)(IShellLinkA** link);
};
ShortcutCalls& ShortcutPlatform();
