// The installation script run: the package's "OrvUnInst.log" names the files
// to copy from the package folder into the installed folder, under which
// names and into which sub-folders. Nothing here shows a message or writes a
// log line: the script itself becomes the uninstall log.
#pragma once
#include <windows.h>

#include <string>

class FilePlacer;

// Carries out the script line by line, from InstallOptions.sourceFolder into
// InstallOptions.destinationFolder, each file placed by `placer`:
// "File Copy: " lines, "File Copy x64: " lines only under WOW64 (flag taken
// once per run), "File Copy ind: " lines only when the system cannot load a
// library of that name itself, and "Make Dir: " lines (one level under the
// destination). A copy operand is taken whole (" | " is part of it): a
// pattern, or "name > new name". Failed lines are passed over, each file
// that could not be installed noted for the run's outcome (exit_status.h) by
// the name the script gives it; a script that does not open copies nothing.
void RunInstallScript(const std::string& scriptPath, FilePlacer& placer);

// Copies the files of sourceFolder matching `pattern` (wildcards, and an
// optional sub-folder part) to the same relative place under
// destinationFolder, each placed by `placer`. When something matches and the
// destination does not exist, it is created with its missing ancestors; the
// sub-folder itself is not created. Stops at the first match that is not
// placed now; that one, when it could not be installed, and the files after
// it are noted as not installed. Returns the number of files copied; 0 when
// nothing matched.
int CopyFilesByPattern(const std::string& pattern, const std::string& destinationFolder,
                       const std::string& sourceFolder, FilePlacer& placer);

// True when this 32-bit process runs on 64-bit Windows. False where the
// system has no IsWow64Process entry (looked up once, at start).
bool IsRunningUnderWow64();

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support; null: a system without the entry).
struct InstallScriptCalls {
  BOOL(WINAPI* isWow64Process)(HANDLE process, PBOOL isWow64);  // looked up, not imported
};
InstallScriptCalls& InstallScriptPlatform();
