// The uninstaller's self-removal across two processes: the uninstaller starts a
// temporary copy of itself and ends; the copy removes the installation.
#pragma once
#include <windows.h>

#include <string>

#include "common/process_start.h"
#include "startup/command_line.h"

class RunGuard;

// Copies the running uninstaller to a new temporary file ("uni" prefix) and
// starts it with "-delself", the uninstaller's path and, when silent, "-s".
// The file is locked from the end of the copy to the start (nobody can write,
// rename or delete it), and started only when it holds this program's bytes.
// The copy is started suspended and given the run guard before it runs, so
// that no other run can start between the two processes. Then, without
// `waitForRemoval`, ends this process at once with status 0; with it, passes
// " -wait" and two inherited handles on (this process and a pipe) and ends
// only once the copy has reported, with the copy's status, or 1603 when the
// copy ended without one. Either way without the process-wide clean-up (the
// uninstaller stays in the instance list), and the call does not return.
// Returns only when the copy did not start; the temporary file is then
// removed again.
void StartSelfRemovalCopy(const RunGuard& guard, bool waitForRemoval);

// The temporary copy's work: take the run guard (handed over, or as a run
// started by hand takes it), wait for the uninstaller to end, defer the
// copy's own deletion, delete the uninstaller, uninstall its folder, say so
// unless silent, and end the process with exit status 0. With the handles of
// "-wait", the removal comes first: the status goes to the waiting
// uninstaller, and the uninstaller's file and the empty folder go once it
// has ended.
[[noreturn]] void RunSelfRemovalCopy(const StartupChoice& choice);

// The installed folder of an uninstaller path: its drive and folder with the
// trailing backslash; empty when the path has no folder.
std::string SelfRemovalFolder(const std::string& uninstallerPath);

// The copy's command line: each path in double quotes exactly when it holds a
// blank or a tab, " -s" at the end when silent.
std::string SelfRemovalCommandLine(const std::string& copyPath, const std::string& uninstallerPath, bool silent);

// The platform calls of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support): a test sees what would be
// started, or makes the start fail.
struct SelfRemovalCalls {
  ProcessStartCall startProcess;  // the copy's start (process_start.h)
};
SelfRemovalCalls& SelfRemovalPlatform();
