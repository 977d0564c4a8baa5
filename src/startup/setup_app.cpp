#include "startup/setup_app.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "common/system_entry.h"
#include "common/text.h"
#include "driver/install_driver.h"
#include "driver/install_options.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "framework/run_guard.h"
#include "resources/resource_ids.h"
#include "startup/command_line.h"
#include "startup/instance_manager.h"
#include "startup/program_mark.h"
#include "startup/self_removal.h"
#include "startup/uninstaller_place.h"

namespace {
// Styles of the start-up's own boxes (shown with the window title, no owner).
constexpr UINT kConfirmUninstallStyle = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;  // 0x134
constexpr UINT kRunningCopiesStyle = MB_YESNO | MB_ICONEXCLAMATION;                    // 0x34
constexpr UINT kInterruptedStyle = MB_OK | MB_ICONINFORMATION;                         // 0x40

// Asks the application to close without saving (the application knows 1001).
constexpr WPARAM kCloseWithoutSaving = 1001;
// Time the application gets between the close request and the termination.
constexpr DWORD kCloseGrace = 10;

// True when the process runs the application's executable (by file name).
bool RunsApplication(HANDLE process) {
  // Looked up, not imported: older systems lack the call.
  static const auto query = Kernel32Entry<decltype(&::QueryFullProcessImageNameA)>("QueryFullProcessImageNameA");
  if (!query) return false;
  char path[kMaxPath];
  DWORD size = sizeof path;
  if (!query(process, 0, path, &size) || size >= sizeof path) return false;
  std::string name = NamePart(std::string(path, size));
  std::string expected = names::kApplicationExe;
  return ToLower(name) == ToLower(expected);
}

const char* ModeName(StartMode mode) {
  switch (mode) {
    case StartMode::Setup:
      return "setup";
    case StartMode::SelfRemoval:
      return "self-removal copy";
    default:
      return "uninstall";
  }
}

// The log first, so that everything after it is recorded; its path is made
// a full path at once, before the removal changes the current folder.
void StartRunLog(const std::string& path, StartMode mode) {
  if (!OpenRunLog(path)) return;
  RunLogEvent("mode:", ModeName(mode));
  RunLogEvent("command line:", GetCommandLineA());
}

// Opens a listed process for termination when it is really a registered copy
// of the application: it shows a main window the registry accepts, or it runs
// the application's executable. An entry left behind by a process that ended
// without clean-up may carry an identifier the system has since given to an
// unrelated program; that program is left alone.
UniqueHandle OpenRegisteredCopy(std::uint32_t processId, bool hasMainWindow) {
  if (hasMainWindow) return UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (process && !RunsApplication(process.get())) process.reset();
  return process;
}

// True when a listed process without a main window still runs the
// application's executable. A process that has ended stays openable while
// anyone holds a handle to it: its entry is stale all the same.
bool StillRunsApplication(std::uint32_t processId) {
  UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT && RunsApplication(process.get());
}

// A registered process that is a live copy of the application.
struct LiveCopy {
  std::uint32_t id;
  HWND window;  // its main window; null when it shows none
};

// The live copies of the application in the instance list, in list order:
// not this process, not a run of this program (a setup waiting for its turn,
// an uninstaller or its temporary copy), not a stale entry, and really the
// application (a main window the registry accepts, which only a running
// process has, or the application's executable). Empty when the list is
// unavailable.
std::vector<LiveCopy> LiveApplicationCopies(RunningInstances& instances) {
  std::vector<LiveCopy> copies;
  std::vector<std::uint32_t> ids;
  if (!instances.ListInstances(ids)) return copies;
  const std::uint32_t self = GetCurrentProcessId();
  for (std::uint32_t id : ids) {
    if (id == self || RunsThisProgram(id)) continue;
    HWND window = instances.FindMainWindow(id);
    if (window || StillRunsApplication(id)) copies.push_back(LiveCopy{id, window});
  }
  return copies;
}

// Asks each copy to close without saving, then terminates it. Both the
// request and the termination go to every copy, whether or not it reacted:
// the wait is a fixed grace, not a time-out.
void CloseCopies(const std::vector<LiveCopy>& copies) {
  for (const LiveCopy& copy : copies) {
    if (copy.window) PostMessageA(copy.window, WM_CLOSE, kCloseWithoutSaving, 0);
    Sleep(kCloseGrace);
    UniqueHandle process = OpenRegisteredCopy(copy.id, copy.window != nullptr);
    if (!process) continue;  // gone already, or not the application
    if (TerminateProcess(process.get(), 0))
      RunLogEvent("closed process", std::to_string(copy.id));
    else
      RunLogFailure("close process", std::to_string(copy.id), GetLastError());
  }
}
}  // namespace

CSetupApp::CSetupApp(RunningInstances& instances)
    : CSetupApp(instances, StartupHandovers{&RunInstallDriver, &StartSelfRemovalCopy}) {}

std::string CSetupApp::WindowTitle() { return LoadStringResource(IDS_WINDOW_TITLE); }

BOOL CSetupApp::InitInstance(const std::vector<std::string>& programArgs, const std::string& ownPath) {
  std::vector<std::string> args = programArgs;
  const std::string logPath = TakeLogSwitch(args);
  StartupChoice choice = ReadStartupChoice(args, ownPath);
  StartRunLog(logPath, choice.mode);
  InstallOptions.silent = choice.silent;
  if (choice.mode == StartMode::SelfRemoval) RunSelfRemovalCopy(choice);

  SetResourceModule(GetModuleHandleA(nullptr));
  bool setupMode = choice.mode == StartMode::Setup;

  // Held until the run ends: nothing below may run beside another run.
  const RunGuard guard = AcquireRunGuard(InstallOptions.silent);
  if (!guard.Held()) {
    RunLogEvent("another run of the program is in progress: nothing done");
    exitStatus_ = exitstatus::kRunInProgress;
    return FALSE;
  }
  if (!setupMode && !UninstallerMayRemove(ownPath)) {
    exitStatus_ = RefuseRemoval(ownPath, InstallOptions.silent);
    return FALSE;
  }

  if (!setupMode && !InstallOptions.silent && !ConfirmUninstall()) {
    exitStatus_ = exitstatus::kUserCancelled;
    return FALSE;
  }
  if (!CloseRunningCopies(setupMode, choice.quietInstances, InstallOptions.silent)) {
    exitStatus_ = exitstatus::kUserCancelled;
    return TRUE;
  }

  if (setupMode) {
    const bool endedBeforeInstallation = handovers_.runInstallDriver(args);
    exitStatus_ = SetupExitStatus(endedBeforeInstallation);
    return endedBeforeInstallation ? TRUE : FALSE;
  }
  handovers_.startSelfRemovalCopy(guard, choice.wait);  // returns only when the copy did not start
  exitStatus_ = exitstatus::kFailed;
  return FALSE;
}

bool CSetupApp::ConfirmUninstall() {
  std::string text = LoadStringResource(IDS_CONFIRM_UNINSTALL);
  return ShowMessageBox(nullptr, text.c_str(), WindowTitle().c_str(), kConfirmUninstallStyle) == IDYES;
}

bool CSetupApp::CloseRunningCopies(bool setupMode, bool quiet, bool silent) {
  const int others = instances_.CountInstances() - 1;  // the setup counts itself
  if (others <= 0) return true;
  const std::vector<LiveCopy> copies = LiveApplicationCopies(instances_);
  const std::string live = std::to_string(copies.size());
  RunLogEvent("other registered processes:", std::to_string(others));
  RunLogEvent("running copies of the application:", live);
  if (copies.empty()) return true;

  if (setupMode && !quiet) {
    // Nobody may be there to answer: the copies keep running, and the files
    // they hold are replaced as files in use are (renamed aside, or at the
    // restart).
    if (silent) {
      RunLogEvent("silent run: running copies of the application left running:", live);
      return true;
    }
    if (!AskToCloseCopies(copies.size())) return false;
  }
  CloseCopies(copies);
  return true;
}

bool CSetupApp::AskToCloseCopies(std::size_t copies) {
  std::string title = WindowTitle();
  std::string question;
  if (copies == 1) {
    question = LoadStringResource(IDS_INSTANCE_RUNNING_ONE);
  } else {
    std::string format = LoadStringResource(IDS_INSTANCES_RUNNING_MANY);
    char text[512];
    std::snprintf(text, sizeof text, format.c_str(), static_cast<int>(copies));
    question = text;
  }
  if (ShowMessageBox(nullptr, question.c_str(), title.c_str(), kRunningCopiesStyle) == IDYES) return true;
  std::string interrupted = LoadStringResource(IDS_SETUP_INTERRUPTED);
  ShowMessageBox(nullptr, interrupted.c_str(), title.c_str(), kInterruptedStyle);
  return false;
}
