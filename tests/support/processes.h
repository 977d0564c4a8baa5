// Starting and waiting for the programs under test from inside a test.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/process_start.h"  // StartedProcess

// Starts `program` (a full path) with `arguments`, in `folder` (the test's
// current folder when empty), as the product starts programs (LaunchProgram).
StartedProcess StartProgram(const std::string& program, const std::string& arguments,
                            const std::string& folder = std::string());

// A copy of the running test program at `path` (the program itself when it
// is that path), started as a child that only sleeps for `sleepMs`
// (test_main.cpp); empty when it could not be copied or started.
StartedProcess StartSleepingCopy(const std::string& path, DWORD sleepMs);

// Waits for the process to end: its exit status, or -1 after `timeoutMs`
// (the process is then ended).
long WaitForExit(StartedProcess& process, DWORD timeoutMs);

// StartProgram and WaitForExit in one: -1 when it did not start or end.
long RunToEnd(const std::string& program, const std::string& arguments, const std::string& folder = std::string(),
              DWORD timeoutMs = 30000);

// The program file name of an uninstaller's temporary copy: "uni", then what
// the system adds, then ".tmp" (in any case).
bool IsTemporaryCopyName(std::string name);

// The temporary copy started by `parentId`, waiting up to `timeoutMs`. Only
// the copy counts: the first process of a prefix to open a window also starts
// Wine's desktop process (explorer.exe), and under load that can be the
// uninstaller showing its question.
StartedProcess WaitForTemporaryCopyOf(DWORD parentId, DWORD timeoutMs);

// Waits up to `timeoutMs` for the temporary copies ("uni*.tmp") of the prefix
// to show up and then for each to end: the names of those that ended.
std::vector<std::string> WaitForTemporaryCopies(DWORD timeoutMs);
