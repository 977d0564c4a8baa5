#include "startup/self_removal.h"

#include <cstdlib>
#include <string>

#include "common/handle.h"
#include "common/module_path.h"
#include "common/names.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "resources/resource_ids.h"
#include "startup/deferred_file.h"
#include "startup/message_box.h"
#include "uninstall/uninstall.h"

namespace {
// The copy gives the uninstaller that started it this long to end.
constexpr DWORD kUninstallerExitWait = 1000;
// On a loaded machine the uninstaller's file can still be held after that
// wait: the deletion is tried again at this pace for up to this long.
constexpr DWORD kUninstallerRetryPause = 100;
constexpr DWORD kUninstallerRetryLimit = 10000;

ProcessStartCall g_startProcess = &CreateProcessA;

// The path as one argument of a command line.
std::string CommandLineArgument(const std::string& path) {
  if (path.find_first_of(" \t") == std::string::npos) return path;
  return "\"" + path + "\"";
}

// A new empty file in the user's temporary folder, named by the system with
// the "uni" prefix; empty when none could be made.
std::string NewTemporaryFile() {
  char folder[kMaxPath];
  DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  char file[kMaxPath];  // GetTempFileNameA needs room for MAX_PATH bytes
  if (GetTempFileNameA(folder, names::kSelfRemovalPrefix, 0, file) == 0) return std::string();
  return file;
}
// Deletes the uninstaller once it has ended. A file that is already gone
// counts as deleted; one held past the retry limit stays.
void DeleteEndedUninstaller(const char* path) {
  for (DWORD waited = 0;; waited += kUninstallerRetryPause) {
    if (DeleteFileA(path)) return;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
    if (waited >= kUninstallerRetryLimit) return;
    Sleep(kUninstallerRetryPause);
  }
}
}  // namespace

ProcessStartCall SetCopyStartForTests(ProcessStartCall call) {
  ProcessStartCall previous = g_startProcess;
  g_startProcess = call ? call : &CreateProcessA;
  return previous;
}

std::string SelfRemovalFolder(const std::string& uninstallerPath) {
  std::string folder = FolderPart(uninstallerPath);
  if (folder.empty()) return folder;
  return folder + "\\";
}

std::string SelfRemovalCommandLine(const std::string& copyPath, const std::string& uninstallerPath, bool silent) {
  std::string line = CommandLineArgument(copyPath) + " " + names::kSelfRemovalSwitch + " " +
                     CommandLineArgument(uninstallerPath);
  if (silent) line += std::string(" ") + names::kSilentSwitch;
  return line;
}

void StartSelfRemovalCopy() {
  std::string copy = NewTemporaryFile();
  if (copy.empty()) return;
  std::string self = OwnProgramPath();
  // An empty or half-written temporary file is no program: do not start it.
  if (!self.empty() && CopyFileA(self.c_str(), copy.c_str(), FALSE)) {
    std::string line = SelfRemovalCommandLine(copy, self, InstallOptions.silent);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (g_startProcess(copy.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      UniqueHandle thread(info.hThread);
      UniqueHandle process(info.hProcess);
      // TerminateProcess, not ExitProcess or exit: no static destructor and no
      // DLL notification runs, so the instance list keeps this process's
      // entry whatever the C runtime does at ExitProcess.
      TerminateProcess(GetCurrentProcess(), 0);
    }
  }
  // No copy runs: the temporary file would stay behind until someone cleans
  // the temporary folder.
  DeleteFileA(copy.c_str());
}

void RunSelfRemovalCopy(const char* uninstallerPath) {
  Sleep(kUninstallerExitWait);
  std::string self = OwnProgramPath();
  if (!self.empty()) DeferDelete(self.c_str());

  // Only a path with a folder names an installation; a bare name would make
  // the current directory the installed folder.
  std::string folder = SelfRemovalFolder(uninstallerPath);
  if (!folder.empty()) {
    DeleteEndedUninstaller(uninstallerPath);
    Uninstall(folder.c_str());
  }

  if (!InstallOptions.silent) AppMessageBox(IDS_UNINSTALLED, MB_OK);
  // exit, not ExitProcess: the process-wide clean-up (the instance list) runs.
  std::exit(0);
}
