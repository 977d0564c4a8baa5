// The application object and its start-up operation: the mode, the uninstall
// confirmation, the closing of running copies, and the hand-over to the
// install driver, the self-removal copy or the uninstall procedure.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/application.h"

class RunningInstances;
class RunGuard;

// Where start-up hands over once the mode is settled (replaceable in tests:
// the real self-removal start ends the process). The copy is given the run
// guard and whether the uninstaller waits for the removal ("-wait"); the
// driver the arguments as start-up read them ("-log" taken out).
struct StartupHandovers {
  bool (*runInstallDriver)(const std::vector<std::string>& args);
  void (*startSelfRemovalCopy)(const RunGuard& guard, bool waitForRemoval);
};

class CSetupApp : public CApplication {
 public:
  explicit CSetupApp(RunningInstances& instances);
  CSetupApp(RunningInstances& instances, StartupHandovers handovers)
      : instances_(instances), handovers_(handovers) {}

  // The start-up operation (CApplication). "-log PATH" is taken out of the
  // arguments first and opens the run's log (common/run_log.h). Its exit
  // status: another run in progress when the run guard could not be had, the
  // user's cancellation when a question was declined, restart required or done
  // after the installation, failure when the uninstaller lies outside the
  // installed folder or its copy did not start. Endings that leave the
  // process inside InitInstance (the damaged package, the started copy, the
  // copy itself) set their own.
  BOOL InitInstance(const std::vector<std::string>& args, const std::string& ownPath) override;

  // Uninstall confirmation (string 6): true when answered yes.
  bool ConfirmUninstall();

  // The running copies of the application are the live ones in the instance
  // list: never this process, a run of this program (a setup or uninstaller
  // waiting for its turn, showing a box titled like the application) or an
  // entry whose process has ended. They are closed without a question in
  // uninstall mode and when `quiet`; otherwise a `silent` setup leaves them
  // running (nobody may be there to answer), and any other asks string 1 or
  // 4 first (string 3 and false when not answered yes). True when start-up
  // goes on.
  bool CloseRunningCopies(bool setupMode, bool quiet, bool silent);

 private:
  std::string WindowTitle();
  // String 1 for one copy, string 4 with the number otherwise; on any answer
  // but yes, string 3 and false.
  bool AskToCloseCopies(std::size_t copies);

  RunningInstances& instances_;
  StartupHandovers handovers_;
};
