// What the setup learns about the system before it changes anything: where an
// earlier installation lies, where a new one goes by default, and which
// version an executable carries, with the value versions are compared by.
#pragma once
#include <windows.h>

#include <string>

#include "driver/install_options.h"

// The folder of an earlier installation: the product key's "Path" value, else
// the part of the App Paths entry of OrvPix6.exe before "\OrvPix6.exe"
// (matched in that case only). One trailing backslash removed; the empty text
// when no installation is known. Whether the folder exists is not tested.
std::string FindInstalledFolder();

// The Program Files folder: "ProgramFilesDir", else the Windows folder cut
// after its first backslash followed by "Program Files". One trailing
// backslash removed; never empty.
std::string ProgramFilesFolder();

// The file version of the executable's version resource (never the product
// version); 0.0.0.0 when the file, its version resource or the fixed
// information is missing.
FileVersion ReadFileVersion(const std::string& path);

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support).
struct ExistingInstallCalls {
  UINT(WINAPI* windowsFolder)(LPSTR buffer, UINT size);  // GetWindowsDirectoryA
};
ExistingInstallCalls& ExistingInstallPlatform();
