// File operations carried out at the next restart of the computer: through the
// system's delayed moves, or WININIT.INI's [rename] section where those fail.
#pragma once
#include <windows.h>

// The file goes at the next restart. True when the request was recorded, by
// the system or in WININIT.INI.
bool DeferDelete(const char* path);

// At the next restart `source` takes the name `target` (an existing target is
// not replaced: the caller defers its deletion first).
void DeferRename(const char* source, const char* target);

// The system's delayed move, shaped like MoveFileExA. Tests replace it to
// take the WININIT.INI road, which only systems without delayed moves take.
using DelayedMoveCall = BOOL(WINAPI*)(LPCSTR existing, LPCSTR replacement, DWORD flags);

// Installs `call` (null restores MoveFileExA); returns the previous one.
DelayedMoveCall SetDelayedMoveForTests(DelayedMoveCall call);
