// The uninstall procedure, run by the uninstaller's temporary copy.
#pragma once

// Removes the installation in `installedFolder` (ends with a backslash).
// Reports nothing: every failure inside is absorbed.
void Uninstall(const char* installedFolder);
