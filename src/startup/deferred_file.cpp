#include "startup/deferred_file.h"

// Not built yet: the deferred file operations arrive with their own change.
// Until then nothing is queued and DeferDelete says so.
bool DeferDelete(const char*) { return false; }

void DeferRename(const char*, const char*) {}
