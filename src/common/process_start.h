// Starting a program: one rule for a path on a command line, and the start
// that names the program both as the module and as the command line's first
// argument, so that a path with blanks cannot start "C:\Program.exe".
#pragma once
#include <windows.h>

#include <string>

#include "common/handle.h"

// `path` as one argument of a command line: in double quotes exactly when it
// holds a blank or a tab.
std::string CommandLineArgument(const std::string& path);

// The process start, shaped like CreateProcessA (a module may replace it for
// its tests).
using ProcessStartCall = BOOL(WINAPI*)(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                       LPSECURITY_ATTRIBUTES thread, BOOL inheritHandles, DWORD flags,
                                       LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startup,
                                       LPPROCESS_INFORMATION info);

// A started process; its handles close with the object.
struct StartedProcess {
  UniqueHandle process;
  UniqueHandle thread;
  DWORD id = 0;
  explicit operator bool() const { return static_cast<bool>(process); }
};

// Starts `program` with `commandLine`, which begins with the program's path
// as CommandLineArgument gives it, in `folder` (null: the current one), with
// `flags` for CreateProcessA; only with `inheritHandles` does the process
// inherit this one's inheritable handles. Empty when the start failed.
StartedProcess LaunchProgram(const std::string& program, std::string commandLine, const char* folder,
                            DWORD flags = 0, bool inheritHandles = false, ProcessStartCall start = &CreateProcessA);
