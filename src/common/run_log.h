// The administrator's log of a run ("-log PATH"): what the run decided and
// did, one line per event, appended to a file the administrator names. It
// never changes the run: without the switch, or when the file cannot be
// opened or written, every call here does nothing. Each call keeps the
// thread's last error as it was, so that callers can log a failure and then
// still look at its error.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// Opens the log at `path` (made a full path at once) for appending, creating
// the file when missing and never truncating it. Shared for reading, writing
// and deletion, so that the uninstaller and its temporary copy both write to
// it. False, and no log for this run, when `path` is empty, too long for the
// path limit, or cannot be opened (a folder, a missing drive, no rights). An
// earlier log of the process is closed first.
// The run may hold an administrator's rights: only a regular file on a disk
// is kept. Device paths ("\\.\...", "\\?\..." other than a drive path,
// and reserved names such as NUL or COM1) are refused by name; what is
// opened must be a disk file, no folder, no reparse point, with one link.
// A pipe that slips through is opened for identification only, so that its
// server can never act with the run's rights.
bool OpenRunLog(const std::string& path);

// The platform call of this module, the system's unless a test has put its
// own in (PlatformOverride, tests/support).
using CreateFileCall = HANDLE(WINAPI*)(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                       DWORD disposition, DWORD flags, HANDLE templateFile);
struct RunLogCalls {
  CreateFileCall createFile;
};
RunLogCalls& RunLogPlatform();

// Ends logging for the process (the file stays as written).
void CloseRunLog();

// The full path of the open log; empty when the run keeps none.
const std::string& RunLogPath();

// True when the run keeps a log: a caller that would build a costly text
// asks first.
bool RunLogOpen();

// One line: the local time to the millisecond, the process identifier in
// brackets, then `what` and, when given, a blank and `subject`. The texts are
// in the system's ANSI code page and are written as UTF-8; a line break in
// them becomes a blank, so that one event stays one line.
void RunLogEvent(std::string_view what, std::string_view subject = {});

// An operation that failed at what it was for: "FAILED what subject (error N)",
// N the system's error number in decimal.
void RunLogFailure(std::string_view what, std::string_view subject, unsigned long error);

// The process's last line: "exit status N".
void RunLogExitStatus(int status);
