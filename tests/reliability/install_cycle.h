// Whole installations and removals with the real programs of the sample
// package, in the test's prefix: the setup silently or through its wizard,
// the installed uninstaller silently, waiting for its temporary copy.
#pragma once
#include <string>
#include <vector>

// The options of one installation.
struct CycleOptions {
  bool allUsers = true;
  bool desktopIcon = true;
  bool autoStart = false;
};

// The switches of a silent setup for `options`: "-s" and, as needed,
// "-nodeskico" and "-autostart". (A silent new installation is always one for
// all users; a silent re-installation keeps the earlier choice.)
std::string SilentSwitches(const CycleOptions& options);

// How a wizard installation ended: whether it ran through to Finish, the
// completion page's text (control 1010) and the exit status.
struct WizardInstallation {
  bool ran = false;
  std::string completionText;
  long status = -1;
};

// Installs through the wizard of `package`\setup.exe started with
// `arguments`, for all users or the current user and with the group page's
// check boxes set from `options`. Needs the test's display.
WizardInstallation RunWizardInstallation(const std::string& package, const std::string& arguments,
                                         const CycleOptions& options, const std::string& currentFolder);

// RunWizardInstallation without arguments; true when the wizard ran through
// to Finish and the setup ended with 0.
bool InstallThroughWizard(const std::string& package, const CycleOptions& options, const std::string& currentFolder);

// The folder the installation registered ("Path"), empty when none.
std::string InstalledFolder();

// Runs the installed OrvUnInst.exe -s in `installedFolder` and waits for its
// temporary copy to end. True when both ran and ended.
bool UninstallSilently(const std::string& installedFolder);
