// Where the shell keeps its folders: text values of the Shell Folders key,
// per user ("Programs", "Desktop", "Startup") and for all users ("Common
// Programs", "Common Desktop", "Common Startup").
#pragma once
#include <windows.h>

#include <string>

enum class ShellPlace { Programs, Desktop, Startup };

// The place's folder as stored (unexpanded, at most 259 characters) in the
// Shell Folders key `shellFolders` has open; empty when the value is missing.
std::string ReadShellFolder(HKEY shellFolders, ShellPlace place, bool allUsers);

// The same from the one root `allUsers` picks: HKEY_LOCAL_MACHINE for all
// users, else HKEY_CURRENT_USER.
std::string ReadShellFolder(ShellPlace place, bool allUsers);
