// The install driver: settles every choice of the installation, then runs the
// wizard or, when silent, the installation itself.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// True when the run ended before the installation (a question declined, the
// wizard cancelled); false when the installation procedure ran. `args` are
// the process's arguments as start-up read them; the package folder is the
// folder of the program's own path.
bool RunInstallDriver(const std::vector<std::string>& args);

// Where the driver hands over. RunInstallDriver(args) uses Install(), the
// CSetupDlg wizard and the C runtime's exit (which still runs the
// process-wide clean-up); tests replace them.
struct InstallDriverHandovers {
  void (*install)();               // the installation procedure of a silent run
  INT_PTR (*runWizard)();          // the wizard, modal: IDOK when the user went to the end
  void (*endProcess)(int status);  // ends the process; does not return
};

// The driver on the given arguments (args[0] is the program, as the C runtime
// split them) and own full path; the package folder is the folder of
// `ownPath`. Fills InstallOptions; `silent` is expected to be set already.
bool RunInstallDriver(const std::vector<std::string>& args, const std::string& ownPath,
                      const InstallDriverHandovers& handovers);
