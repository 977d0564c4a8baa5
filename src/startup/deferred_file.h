// File operations carried out at the next restart of the computer: through the
// system's delayed moves, or WININIT.INI's [rename] section where those fail.
#pragma once
#include <windows.h>

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

// The system's delayed move, shaped like MoveFileExA. Tests replace it to
// take the WININIT.INI road, which only systems without delayed moves take.
using DelayedMoveCall = BOOL(WINAPI*)(LPCSTR existing, LPCSTR replacement, DWORD flags);

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support).
struct DeferredFileCalls {
  DelayedMoveCall delayedMove;
};
DeferredFileCalls& DeferredFilePlatform();
