// The registry values an installation writes: where the application lies and
// for whom it was installed, its App Paths entry, and its entry in the
// system's list of installed programs.
#pragma once
#include <string>

#include "driver/install_options.h"

// "%d.%02d.%02d" of the major, minor and third number: 6.03.01.
std::string DisplayVersionText(const FileVersion& version);

// Writes the nine values under HKEY_LOCAL_MACHINE, in order, each on its own:
// "AllUsers" ("B"/"A") and "Path" of the product key, the App Paths default
// value, and "Contact", "DisplayName", "DisplayVersion", "Publisher",
// "UninstallString" (the uninstaller's path in double quotes) and
// "URLInfoAbout" of the Uninstall entry. Failed writes are passed over.
void WriteRegistryEntries();
