// A file nobody can change while it is locked: open for reading, sharing
// reading only. Until the handle closes, nobody can open the file for
// writing, rename it or delete it, and the system can still map it as the
// image of a new process.
#pragma once
#include <string>

#include "common/handle.h"

// Locks the file at `path` and checks that its bytes are those of the file at
// `original`. The handle is not inheritable. Empty when someone holds the file
// for writing or deletion at that moment, or its bytes differ: whatever was
// written there meanwhile is not to be run.
UniqueHandle LockFileMatching(const std::string& path, const std::string& original);
