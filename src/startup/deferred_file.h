// File operations carried out at the next restart of the computer: through the
// system's delayed moves, or WININIT.INI's [rename] section where those fail.
#pragma once

// The file goes at the next restart. True when the request was recorded.
bool DeferDelete(const char* path);

// At the next restart `source` takes the name `target` (an existing target is
// not replaced: the caller defers its deletion first).
void DeferRename(const char* source, const char* target);
