// What the system holds for the next restart, and the restart itself, for
// tests of the deferred file operations (each test runs in its own prefix, so
// a restart affects only that test).
#pragma once
#include <string>
#include <vector>

// One pending operation of the system's list: the target is empty for a
// deletion. Paths are as the system stores them ("\??\C:\...").
struct PendingOperation {
  std::string source;
  std::string target;
  bool operator==(const PendingOperation& other) const {
    return source == other.source && target == other.target;
  }
};

// The system's list (PendingFileRenameOperations), in order; empty when none.
std::vector<PendingOperation> PendingOperations();

// A path as the system's list stores it.
std::string SystemListPath(const std::string& path);

// The full path of WININIT.INI in the Windows folder.
std::string WininitPath();

// Restarts the prefix (wineboot -r): the queued operations are carried out.
// True when wineboot ran and ended with status 0.
bool RestartPrefix();
