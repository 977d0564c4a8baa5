// The one way the removal deletes a file or removes an empty folder: the
// outcome goes to the run's log, and a file or folder that is gone already
// counts as done.
#pragma once
#include <windows.h>

#include <string>

// What is removed; it names the removal in the log ("removed shortcut",
// "FAILED remove folder ...").
enum class RemovalTarget { File, Shortcut, Folder };

// The differences between the callers, each an option.
struct RemovalOptions {
  // The file's attributes as the caller has read them: their read-only and
  // hidden bits are cleared before the deletion. 0 leaves the attributes as
  // they are (a read-only shortcut stays).
  DWORD clearProtectionOf = 0;
  // A file that stays is logged "still there for now (error N): path", not
  // as a failure: the caller settles it later (the restart, as a rule).
  bool leftoverForNow = false;
  // A file or folder still held after the first try is tried again every
  // 100 ms for up to this many milliseconds.
  DWORD retryFor = 0;
};

enum class RemovalResult {
  Removed,  // deleted or removed now
  Gone,     // nothing of that path was there
  Stays,    // still there: held, protected, or a folder that is not empty
};

// Deletes the file or removes the empty folder at `path` and logs it:
// "removed <target> <path>", or a failure as the options say. A folder that
// still holds files stays without a log line and without retries: that is no
// failure. Links are not looked at here (held_folder.h).
RemovalResult RemoveFileOrFolder(RemovalTarget target, const std::string& path, const RemovalOptions& options = {});
