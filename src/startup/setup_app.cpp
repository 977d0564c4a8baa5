#include "startup/setup_app.h"

#include <cstdio>

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
  if (!CloseRunningCopies(setupMode, choice.quietInstances)) {
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

bool CSetupApp::CloseRunningCopies(bool setupMode, bool quiet) {
  int others = instances_.CountInstances() - 1;  // the setup counts itself
  if (others <= 0) return true;
  RunLogEvent("other registered processes:", std::to_string(others));

  if (setupMode && !quiet) {
    std::string title = WindowTitle();
    std::string question;
    if (others == 1) {
      question = LoadStringResource(IDS_INSTANCE_RUNNING_ONE);
    } else {
      std::string format = LoadStringResource(IDS_INSTANCES_RUNNING_MANY);
      char text[512];
      std::snprintf(text, sizeof text, format.c_str(), others);
      question = text;
    }
    if (ShowMessageBox(nullptr, question.c_str(), title.c_str(), kRunningCopiesStyle) != IDYES) {
      std::string interrupted = LoadStringResource(IDS_SETUP_INTERRUPTED);
      ShowMessageBox(nullptr, interrupted.c_str(), title.c_str(), kInterruptedStyle);
      return false;
    }
  }

  std::vector<std::uint32_t> ids;
  if (!instances_.ListInstances(ids)) return true;
  const std::uint32_t self = GetCurrentProcessId();
  for (std::uint32_t id : ids) {
    if (id == self || RunsThisProgram(id)) continue;
    // Both the request and the termination go to every process, whether or
    // not it reacted: the wait is a fixed grace, not a time-out.
    HWND window = instances_.FindMainWindow(id);
    if (window) PostMessageA(window, WM_CLOSE, kCloseWithoutSaving, 0);
    Sleep(kCloseGrace);
    UniqueHandle process = OpenRegisteredCopy(id, window != nullptr);
    if (!process) continue;  // gone already, or not the application
    if (TerminateProcess(process.get(), 0))
      RunLogEvent("closed process", std::to_string(id));
    else
      RunLogFailure("close process", std::to_string(id), GetLastError());
  }
  return true;
}
