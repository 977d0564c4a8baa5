// The whole state an installation could leave behind, taken from inside the
// test's prefix: every registry key and value of HKEY_LOCAL_MACHINE and
// HKEY_USERS (64-bit view, which holds the 32-bit one under Wow6432Node) and
// every file and folder of drive C: with its size. Two snapshots are compared
// entry by entry.
#pragma once
#include <map>
#include <string>
#include <vector>

// Entry name -> what it holds. Names: "reg:HKLM\key\" for a key,
// "reg:HKLM\key\\name" for a value (the data as type and hex bytes),
// "file:C:\path" for a file (its size), "file:C:\path\" for a folder.
using SystemSnapshot = std::map<std::string, std::string>;

// Takes the snapshot. Folders whose path begins with one of `skipFolders`
// (full paths, compared ignoring case) are left out with all they hold: the
// test's own instruments, never the installer's places.
SystemSnapshot TakeSnapshot(const std::vector<std::string>& skipFolders = {});

// One difference: "+ entry" added, "- entry" gone, "~ entry" changed.
std::vector<std::string> CompareSnapshots(const SystemSnapshot& before, const SystemSnapshot& after);

// The differences that the removal of an installation is allowed to leave:
// the restart-time operations (PendingFileRenameOperations) as long as each
// is the deletion of a temporary uninstaller copy ("uni*.tmp" in the
// temporary folder), and those copies themselves. The rest is residue.
// Wine's own bookkeeping that changes with every start of a program is left
// out too (see the source for the list and why).
std::vector<std::string> Residue(const SystemSnapshot& before, const SystemSnapshot& after);

// The paths of the pending restart-time deletions, as plain paths.
std::vector<std::string> PendingDeletions();
