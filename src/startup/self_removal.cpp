#include "startup/self_removal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/file_attributes.h"
#include "common/file_removal.h"
#include "common/handle.h"
#include "common/held_folder.h"
#include "common/locked_file.h"
#include "common/module_path.h"
#include "common/names.h"
#include "common/process_start.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "framework/run_guard.h"
#include "resources/resource_ids.h"
#include "startup/deferred_file.h"
#include "startup/removal_leftovers.h"
#include "startup/uninstaller_place.h"
#include "uninstall/uninstall.h"

namespace {
// The copy gives the uninstaller that started it this long to end.
constexpr DWORD kUninstallerExitWait = 1000;
// On a loaded machine the uninstaller's file can still be held after that
// wait: the deletion is tried again for up to this long.
constexpr DWORD kUninstallerRetryLimit = 10000;
constexpr DWORD kFolderRetryLimit = 3000;

// With "-wait", the copy reports after the removal and the closing message;
// the uninstaller has ended long before this once it has read the status.
constexpr DWORD kWaitingUninstallerExitWait = 10000;

// The user's temporary folder, with its trailing backslash; empty when the
// system gives none that fits.
std::string TemporaryFolder() {
  char folder[kMaxPath];
  DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  return std::string(folder, length);
}

// A new empty file in the user's temporary folder, named by the system with
// the "uni" prefix; empty when none could be made.
std::string NewTemporaryFile() {
  const std::string folder = TemporaryFolder();
  if (folder.empty()) return std::string();
  char file[kMaxPath];  // GetTempFileNameA needs room for MAX_PATH bytes
  if (GetTempFileNameA(folder.c_str(), names::kSelfRemovalPrefix, 0, file) == 0) return std::string();
  return file;
}

// True when `self` is a temporary copy as the uninstaller makes it: a "uni"
// file of the temporary folder. Started by hand as "setup.exe -delself ...",
// the program must not queue its own file (a package's setup.exe) for
// deletion at the restart.
bool IsTemporaryCopy(const std::string& self) {
  const std::string name = NamePart(self);
  const std::string prefix = names::kSelfRemovalPrefix;
  return !self.empty() && PathKey(name.substr(0, prefix.size())) == PathKey(prefix) &&
         PathKey(FolderPart(self)) == PathKey(FolderPart(TemporaryFolder()));
}

// Deletes the uninstaller once it has ended. A file that is already gone
// counts as deleted; one held past the retry limit stays.
void DeleteEndedUninstaller(const std::string& path) {
  RemovalOptions options;
  options.retryFor = kUninstallerRetryLimit;
  RemoveFileOrFolder(RemovalTarget::File, path, options);
}

// Removes the emptied installed folder. A folder someone is just reading (a
// search of its contents, an indexer) refuses removal for that moment: the
// removal is tried again for a while. A folder that still holds files (the
// user's own) stays at once, and so does a link.
void RemoveEmptiedFolder(const std::string& folder) {
  if (IsFolderLink(folder)) return;
  RemovalOptions options;
  options.retryFor = kFolderRetryLimit;
  RemoveFileOrFolder(RemovalTarget::Folder, folder, options);
}

// What "-wait" hands to the copy: an inheritable handle to this process, so
// that the copy can wait for it to end, and the write end of a pipe the copy
// reports the removal's status through.
class WaitChannel {
 public:
  bool Open() {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0)) return false;
    read_.reset(read);
    write_.reset(write);
    HANDLE self = nullptr;
    if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0) ||
        !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
      return false;
    self_.reset(self);
    return true;
  }

  // " -wait <process> <pipe>", the handle values as the copy inherits them.
  std::string Arguments() const {
    return std::string(" ") + names::kWaitSwitch + " " +
           std::to_string(reinterpret_cast<std::uintptr_t>(self_.get())) + " " +
           std::to_string(reinterpret_cast<std::uintptr_t>(write_.get()));
  }

  // Once the copy holds its own handles: the copy's status, or failure when
  // the copy ended (its end of the pipe closed) without reporting one.
  int ReadStatus() {
    write_.reset();  // else the pipe never reports the copy's end
    self_.reset();
    DWORD status = 0;
    DWORD got = 0;
    const bool whole = ReadFile(read_.get(), &status, sizeof status, &got, nullptr) && got == sizeof status;
    return whole ? static_cast<int>(status) : exitstatus::kFailed;
  }

 private:
  UniqueHandle self_;
  UniqueHandle read_;
  UniqueHandle write_;
};

// The uninstaller that started the copy with "-wait" and waits for its
// status: its process and the pipe the status goes through, both inherited.
class WaitingUninstaller {
 public:
  // Numbers on a command line typed by hand name no handle of an uninstaller,
  // or one of this process that is no pipe or no process: such handles are
  // neither written to nor closed.
  explicit WaitingUninstaller(const StartupChoice& choice) {
    const HANDLE process = reinterpret_cast<HANDLE>(choice.waitingUninstaller);
    const HANDLE pipe = reinterpret_cast<HANDLE>(choice.statusPipe);
    if (!process || !pipe || GetFileType(pipe) != FILE_TYPE_PIPE || GetProcessId(process) == 0) return;
    waits_ = true;
    process_.reset(process);
    pipe_.reset(pipe);
  }

  bool Waits() const { return waits_; }

  // Reports `status` and gives the uninstaller a while to end once it has
  // read it.
  void ReportAndAwaitEnd(int status) {
    const DWORD value = static_cast<DWORD>(status);
    DWORD written = 0;
    WriteFile(pipe_.get(), &value, sizeof value, &written, nullptr);
    pipe_.reset();
    WaitForSingleObject(process_.get(), kWaitingUninstallerExitWait);
    process_.reset();
  }

 private:
  bool waits_ = false;
  UniqueHandle process_;
  UniqueHandle pipe_;
};

// TerminateProcess, not ExitProcess or exit: no static destructor and no DLL
// notification runs, so the instance list keeps this process's entry
// whatever the C runtime does at ExitProcess.
[[noreturn]] void EndWithoutCleanUp(int status) {
  RunLogExitStatus(status);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
  ExitProcess(static_cast<UINT>(status));  // not reached
}

// Writes the running uninstaller to `copy` and starts it; see
// StartSelfRemovalCopy. Returns only when no copy runs, the copy unlocked.
void StartLockedCopy(const std::string& copy, const RunGuard& guard, bool waitForRemoval) {
  const std::string self = OwnProgramPath();
  if (self.empty() || !CopyFileA(self.c_str(), copy.c_str(), FALSE)) {
    RunLogFailure("make the temporary copy", copy, GetLastError());
    return;
  }
  // The temporary folder is the user's: from the copy's end to the start of
  // the process, another program of that user could put its own code there
  // and have it run with this process's rights. Locked, the file can no
  // longer change; it is started only when it still holds this program.
  UniqueHandle lock = LockFileMatching(copy, self);
  WaitChannel channel;
  if (!lock || (waitForRemoval && !channel.Open())) {
    RunLogFailure("lock the temporary copy", copy, GetLastError());
    return;
  }
  std::string line = SelfRemovalCommandLine(copy, self, InstallOptions.silent);
  if (waitForRemoval) line += channel.Arguments();
  // Only "-wait" hands handles down by inheritance; the guard goes over by
  // duplication while the copy is still suspended.
  const StartedProcess copyProcess =
      LaunchProgram(copy, line, nullptr, CREATE_SUSPENDED, waitForRemoval, SelfRemovalPlatform().startProcess);
  if (!copyProcess) return;
  lock.reset();  // the image is mapped: what runs is what was checked
  const HANDLE process = copyProcess.process.get();
  if (guard.HandTo(process, copyProcess.id) && ResumeThread(copyProcess.thread.get()) != static_cast<DWORD>(-1)) {
    if (!waitForRemoval) EndWithoutCleanUp(exitstatus::kDone);
    RunLogEvent("waiting for the temporary copy to report");
    const int status = channel.ReadStatus();
    RunLogEvent("the temporary copy reported status", std::to_string(status));
    EndWithoutCleanUp(status);
  }
  // A copy that would run beside another run, or not at all, must not run.
  RunLogFailure("hand the run over to the temporary copy", copy, GetLastError());
  TerminateProcess(process, exitstatus::kFailed);
  WaitForSingleObject(process, kUninstallerRetryLimit);
}

// The run guard, handed over by the uninstaller or taken as a run started by
// hand takes it. Held by another run: the process ends here.
RunGuard TakeRunGuard() {
  RunGuard guard = RunGuard::HandedOver();
  if (!guard.Held()) guard = AcquireRunGuard(InstallOptions.silent);
  if (guard.Held()) return guard;
  RunLogEvent("another run of the program is in progress: nothing done");
  RunLogExitStatus(exitstatus::kRunInProgress);
  std::exit(exitstatus::kRunInProgress);
}

// Removes the installation in `folder`, the uninstaller's file included
// unless it waits for the status; returns the removal's exit status.
int RemoveInstallation(const std::string& uninstallerPath, const std::string& folder, bool uninstallerWaits) {
  if (!uninstallerWaits) DeleteEndedUninstaller(uninstallerPath);
  Leftovers leftovers = Uninstall(folder.c_str());
  // A waiting uninstaller goes once it has the status; one that would not
  // go in time is a leftover like any other.
  std::string goingNow;
  if (uninstallerWaits) {
    goingNow = uninstallerPath;
  } else if (IsPresent(uninstallerPath)) {
    leftovers.push_back(uninstallerPath);
  }
  return SettleLeftovers(FolderPart(uninstallerPath), leftovers, goingNow);
}

// The closing message; after leftovers it names the folder they keep, and
// says whether the restart removes them (3010) or the user must (a failure).
void ShowClosingMessage(int status, const std::string& uninstallerPath) {
  if (status == exitstatus::kDone) {
    AppMessageBox(IDS_UNINSTALLED, MB_OK);
    return;
  }
  const unsigned id = status == exitstatus::kRestartRequired ? IDS_UNINSTALLED_BUT : IDS_UNINSTALLED_LEFT_BEHIND;
  char text[1024];
  std::snprintf(text, sizeof text, LoadStringResource(id).c_str(), FolderPart(uninstallerPath).c_str());
  AppMessageBox(text, MB_OK);
}

// The waiting uninstaller's file and the emptied folder can only go once it
// has read the status: they are queued for the restart before, so that the
// status holds even when this copy cannot delete them after. The status is
// the removal's own (RestartNeeded plays no part in it): the queuing turns no
// 0 into 3010. A folder link is never queued, as it is never removed.
int QueueWhatFollowsTheStatus(const std::string& uninstallerPath, int status) {
  const std::string folder = FolderPart(uninstallerPath);
  const bool file = DeferDelete(uninstallerPath.c_str());
  const bool emptied = IsFolderLink(folder) || DeferDelete(folder.c_str());
  return file && emptied ? status : exitstatus::kFailed;
}

// Once the waiting uninstaller has ended: its file, then the emptied folder.
// What went no longer waits for the restart. A file still held past the
// retries stays queued, and the folder with it; so does a folder kept by
// leftovers that the restart removes. A folder kept by the user's own files
// (the removal's status is 0) would never go at the restart.
void RemoveAfterUninstaller(const std::string& uninstallerPath, const std::string& folder, int status) {
  DeleteEndedUninstaller(uninstallerPath);
  RemoveEmptiedFolder(folder);
  if (IsPresent(uninstallerPath)) return;
  PendingRestartList queued;  // read now: it holds this copy's own deletions of the two
  queued.TakeBackDeletion(uninstallerPath);
  const std::string installed = FolderPart(uninstallerPath);
  if (!IsPresent(installed) || status == exitstatus::kDone) queued.TakeBackDeletion(installed);
}
}  // namespace

SelfRemovalCalls& SelfRemovalPlatform() {
  static SelfRemovalCalls calls = {&CreateProcessA};
  return calls;
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
  // The copy appends to the same log, so that one file tells the whole removal.
  if (!RunLogPath().empty()) line += std::string(" ") + names::kLogSwitch + " " + CommandLineArgument(RunLogPath());
  return line;
}

void StartSelfRemovalCopy(const RunGuard& guard, bool waitForRemoval) {
  std::string copy = NewTemporaryFile();
  if (copy.empty()) {
    RunLogFailure("make the temporary copy", "", GetLastError());
    return;
  }
  StartLockedCopy(copy, guard, waitForRemoval);
  // No copy runs: the temporary file would stay behind until someone cleans
  // the temporary folder.
  DeleteFileA(copy.c_str());
}

void RunSelfRemovalCopy(const StartupChoice& choice) {
  const RunGuard guard = TakeRunGuard();
  WaitingUninstaller waiting(choice);
  const std::string& uninstallerPath = choice.uninstallerPath;
  // Queued first: a copy ended abruptly from here on (a logoff, a tool's
  // time-out) still goes at the restart.
  const std::string self = OwnProgramPath();
  if (IsTemporaryCopy(self)) DeferDelete(self.c_str());
  // The uninstaller's own rule, for a copy started by hand: aimed at a
  // package's OrvUnInst.exe it would unregister the real installation and
  // delete the package's files.
  if (!UninstallerMayRemove(uninstallerPath)) {
    const int refused = RefuseRemoval(uninstallerPath, InstallOptions.silent);
    if (waiting.Waits()) waiting.ReportAndAwaitEnd(refused);
    RunLogExitStatus(refused);
    std::exit(refused);
  }
  // A waiting uninstaller runs until it has the status: its file goes after.
  if (!waiting.Waits()) Sleep(kUninstallerExitWait);

  // Never empty here: the rule refuses a bare name, which would make the
  // current directory the installed folder.
  const std::string folder = SelfRemovalFolder(uninstallerPath);
  const bool follows = waiting.Waits();  // the uninstaller's file goes after the status
  int status = RemoveInstallation(uninstallerPath, folder, follows);
  if (follows) status = QueueWhatFollowsTheStatus(uninstallerPath, status);
  if (!InstallOptions.silent) ShowClosingMessage(status, uninstallerPath);
  if (follows) {
    waiting.ReportAndAwaitEnd(status);
    RemoveAfterUninstaller(uninstallerPath, folder, status);
  }
  // exit, not ExitProcess: the process-wide clean-up (the instance list) runs.
  RunLogExitStatus(status);
  std::exit(status);
}
