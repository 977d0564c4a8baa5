// The registry values an installation writes: where the application lies and
// for whom it was installed, its App Paths entry, and its entry in the
// system's list of installed programs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "driver/install_options.h"

// "%d.%02d.%02d" of the major, minor and third number: 6.03.01.
std::string DisplayVersionText(const FileVersion& version);

// "EstimatedSize" of `bytes`: KB rounded up, MAXDWORD past what a DWORD holds.
DWORD EstimatedSizeOfBytes(std::uint64_t bytes);

// Writes the values under HKEY_LOCAL_MACHINE, in order, each on its own:
// "AllUsers" ("B"/"A") and "Path" of the product key, the App Paths default
// value, and "Contact", "DisplayName", "DisplayVersion", "Publisher",
// "UninstallString" (the uninstaller's path in double quotes),
// "URLInfoAbout", "QuietUninstallString" (the same, then " -s -wait"),
// "InstallLocation" (the destination), "DisplayIcon" (OrvPix6.exe's path,
// then ",0"), "InstallDate" (today, YYYYMMDD local time) and the DWORDs
// "NoModify" and "NoRepair" (1) of the Uninstall entry. Each one that
// cannot be written is logged and counts as an installation failure; the
// others are written all the same.
void WriteRegistryEntries();

// Writes "EstimatedSize" of the Uninstall entry (DWORD): the files below the
// destination, sub-folders included and links to folders not followed, in
// KB rounded up. Called once the installation has placed everything.
void WriteEstimatedSize();
