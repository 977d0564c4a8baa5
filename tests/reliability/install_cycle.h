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

// Runs `package`\setup.exe with `arguments` in `currentFolder` to its end: its
// exit status, -1 when it did not end within the wait.
long RunSetup(const std::string& package, const std::string& arguments, const std::string& currentFolder);

// Installs for the current user through the wizard of `package`\setup.exe,
// with the group page's check boxes set from `options`; true when the wizard
// ran through to Finish. Needs the test's display.
bool InstallThroughWizard(const std::string& package, const CycleOptions& options, const std::string& currentFolder);

// The folder the installation registered ("Path"), empty when none.
std::string InstalledFolder();

// Runs the installed OrvUnInst.exe -s in `installedFolder` and waits for its
// temporary copy to end. True when both ran and ended.
bool UninstallSilently(const std::string& installedFolder);
