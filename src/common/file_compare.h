// Whether two files hold the same bytes, and whether a file already is what
// a copy would make of another.
#pragma once
#include <windows.h>

#include <string>

// True when the two open files, read from where they stand, have the same
// size and bytes. A short read counts as a difference: a file that changed.
bool SameFileBytes(HANDLE first, HANDLE second);

// True when `target` holds what copying `source` over it would leave: the
// same size, last-write time, read-only, hidden and system attributes, and
// the same bytes. Sizes and times are read first (no file is opened), so
// that a file that differs costs no reading. False when either file cannot
// be opened for reading, which includes a target that another program has
// open for writing or deleting.
bool FileMatchesCopyOf(const std::string& source, const std::string& target);
