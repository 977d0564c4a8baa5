// The uninstall procedure, run by the uninstaller's temporary copy.
#pragma once
#include "uninstall/log_replay.h"

// Removes the installation in `installedFolder` (ends with a backslash): the
// registry entries and image type claims, what its logs record, the uninstall
// log, a staging folder an interrupted installation left, the folder itself
// when empty, and the default-named shortcuts and program group of all users
// and every loaded profile. Every failure inside
// is absorbed; returns the files the logs name (the uninstall log included)
// that were there but could not be deleted. An empty folder names no
// installation and nothing is done.
Leftovers Uninstall(const char* installedFolder);
