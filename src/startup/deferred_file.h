// File operations carried out at the next restart of the computer: through the
// system's delayed moves, or WININIT.INI's [rename] section where those fail.
#pragma once
#include <windows.h>

#include <map>
#include <string>

// The file goes at the next restart. True when the request was recorded, by
// the system or in WININIT.INI.
bool DeferDelete(const char* path);

// At the next restart `source` takes the name `target` (an existing target is
// not replaced: the caller defers its deletion first).
void DeferRename(const char* source, const char* target);

// True when the file at `path` waits to take another name at the next
// restart: the source of a pending rename in the system's list or in
// WININIT.INI, or of one this process asked for. The pending operations are
// read once per process; the comparison ignores case.
bool WaitsForRestartRename(const std::string& path);

// The restart-time deletions that earlier runs queued and that nothing
// queued after them undoes: a file a later run installs at such a path
// would be deleted by the restart. Read once, when made (a run makes one at
// its start); what is queued after that is the run's own and never taken
// back. A deletion followed by a rename to the same path clears the way for
// that rename (a replacement waiting for the restart) and is not counted.
class PendingRestartList {
 public:
  // Reads the system's list and WININIT.INI's [rename] section.
  PendingRestartList();
  PendingRestartList(const PendingRestartList&) = delete;
  PendingRestartList& operator=(const PendingRestartList&) = delete;

  // The run has put something of its own at `path`: the deletions of it
  // counted when the list was read are dropped from a fresh read of each
  // road, every other entry kept in its order, and the road written back.
  // A path the list does not know costs one set lookup and changes nothing.
  // Logs what was taken back. False, logged and noted as an installation
  // failure when a road could not be rewritten: the restart would then
  // delete what the run put there.
  bool TakeBackDeletion(const std::string& path);

 private:
  // Path key: how many deletions of it may be taken back.
  using Counts = std::map<std::string, unsigned>;
  Counts systemList_;
  Counts wininit_;
};

// The system's delayed move, shaped like MoveFileExA. Tests replace it to
// take the WININIT.INI road, which only systems without delayed moves take.
using DelayedMoveCall = BOOL(WINAPI*)(LPCSTR existing, LPCSTR replacement, DWORD flags);

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support).
struct DeferredFileCalls {
  DelayedMoveCall delayedMove;
};
DeferredFileCalls& DeferredFilePlatform();
