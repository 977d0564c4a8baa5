#include "common/run_log.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/bounded_path.h"
#include "common/codepage_convert.h"
#include "common/handle.h"
#include "common/text.h"

namespace {

struct RunLog {
  UniqueHandle file;
  std::string path;
};

RunLog& TheRunLog() {
  static RunLog log;
  return log;
}

// Restores the thread's last error when the log call ends.
class KeptLastError {
 public:
  KeptLastError() : error_(GetLastError()) {}
  KeptLastError(const KeptLastError&) = delete;
  KeptLastError& operator=(const KeptLastError&) = delete;
  ~KeptLastError() { SetLastError(error_); }

 private:
  DWORD error_;
};

// ANSI text of the system's code page as UTF-8; the bytes as they are when
// the conversion fails (a lone lead byte at the end converts anyway, to the
// default character).
std::string Utf8Of(std::string_view text) {
  const std::string utf8 = Utf8OfAnsi(text);
  return utf8.empty() ? std::string(text) : utf8;
}

void AppendText(std::string& line, std::string_view text) {
  const std::size_t start = line.size();
  line += Utf8Of(text);
  for (std::size_t i = start; i < line.size(); ++i) {
    if (line[i] == '\r' || line[i] == '\n') line[i] = ' ';
  }
}

// One write per line: with append access only, the system puts each write
// at the end of the file as it is then, so lines of two processes never
// overwrite each other. No flush: the system writes the file out in its
// time, and a line per file copied must cost next to nothing.
void WriteLine(std::string_view what, std::string_view subject) {
  RunLog& log = TheRunLog();
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                static_cast<unsigned long>(GetCurrentProcessId()));
  std::string line = stamp;
  AppendText(line, what);
  if (!subject.empty()) {
    line += ' ';
    AppendText(line, subject);
  }
  line += "\r\n";
  DWORD written = 0;
  WriteFile(log.file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);  // a failed write is passed over
}

bool StartsWith(const std::string& text, const char* prefix) { return text.compare(0, std::strlen(prefix), prefix) == 0; }

bool IsDrivePath(const std::string& path, std::size_t at) {
  return HasDriveAt(path, at) && path.size() > at + 2 && path[at + 2] == '\\';
}

// A reserved device name in any folder and with any extension opens the
// device (NUL, CON, COM1...), not a file.
bool IsReservedDeviceName(const std::string& path) {
  std::string name = NamePart(path);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.pop_back();
  ToLower(name);
  static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (const char* device : kDevices) {
    if (name == device) return true;
  }
  const bool numbered = name.size() == 4 && (StartsWith(name, "com") || StartsWith(name, "lpt"));
  return numbered && name[3] >= '0' && name[3] <= '9';
}

// The device namespaces lead to pipes, devices and volumes: only a drive
// path may follow their prefix.
bool IsDevicePath(const std::string& full) {
  for (const char* prefix : {"\\\\.\\", "\\\\?\\", "\\??\\"}) {
    if (StartsWith(full, prefix)) return !IsDrivePath(full, std::strlen(prefix));
  }
  return IsReservedDeviceName(full);
}

// A regular file on a disk, with this one name: not a pipe or a device, not
// a folder, not a link (opened as the link itself), not a second name of a
// file another account made elsewhere.
bool IsPlainDiskFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) return false;
  const DWORD refused = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  return !(info.dwFileAttributes & refused) && info.nNumberOfLinks == 1;
}

}  // namespace

RunLogCalls& RunLogPlatform() {
  static RunLogCalls calls = {&CreateFileA};
  return calls;
}

bool OpenRunLog(const std::string& path) {
  const KeptLastError kept;
  CloseRunLog();
  if (path.empty() || !FitsPathLimit(path)) return false;
  char full[kMaxPath];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full || IsDevicePath(std::string(full, length))) return false;
  // SQOS: a pipe server may only identify the run, never act as it.
  const DWORD flags =
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;
  UniqueHandle file(RunLogPlatform().createFile(full, FILE_APPEND_DATA,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_ALWAYS, flags, nullptr));
  if (!file || !IsPlainDiskFile(file.get())) return false;
  RunLog& log = TheRunLog();
  log.file = std::move(file);
  log.path.assign(full, length);
  return true;
}

void CloseRunLog() {
  RunLog& log = TheRunLog();
  log.file.reset();
  log.path.clear();
}

const std::string& RunLogPath() { return TheRunLog().path; }

bool RunLogOpen() { return static_cast<bool>(TheRunLog().file); }

void RunLogEvent(std::string_view what, std::string_view subject) {
  if (!RunLogOpen()) return;
  const KeptLastError kept;
  WriteLine(what, subject);
}

void RunLogFailure(std::string_view what, std::string_view subject, unsigned long error) {
  if (!RunLogOpen()) return;
  const KeptLastError kept;
  std::string text = "FAILED ";
  text += what;
  std::string detail(subject);
  if (!detail.empty()) detail += ' ';
  detail += "(error " + std::to_string(error) + ")";
  WriteLine(text, detail);
}

void RunLogExitStatus(int status) { RunLogEvent("exit status", std::to_string(status)); }
