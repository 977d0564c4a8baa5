// The uninstall procedure, run by the uninstaller's temporary copy.
#pragma once

// Removes the installation in `installedFolder` (ends with a backslash): the
// registry entries and image type claims, what its logs record, the uninstall
// log, the folder itself when empty, and the default-named shortcuts and
// program group of all users and every loaded profile. Reports nothing: every
// failure inside is absorbed. An empty folder names no installation and
// nothing is done.
void Uninstall(const char* installedFolder);
