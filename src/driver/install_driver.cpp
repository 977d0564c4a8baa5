#include "driver/install_driver.h"

#include <cstdio>
#include <cstdlib>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/module_path.h"
#include "common/names.h"
#include "common/registry.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "common/text.h"
#include "driver/after_install.h"
#include "driver/driver_switches.h"
#include "driver/earlier_group.h"
#include "driver/existing_install.h"
#include "driver/install_options.h"
#include "driver/version_value.h"
#include "engine/install.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "resources/resource_ids.h"
#include "wizard/setup_dlg.h"

#include "vendor_config.h"

namespace {

// A path past the limit names nothing, whatever the system's own test would
// make of it: no later step may work on a cut copy of it.
bool PathExists(const std::string& path) { return FitsPathLimit(path) && IsPresent(path); }

// A destination must be a folder: a file named by "-instdir" counts as a name
// that does not exist, so the installation neither copies into it nor
// registers it as the installed folder.
bool FolderExists(const std::string& path) { return FitsPathLimit(path) && IsFolder(path); }

// The folder as a full path; empty when it would not fit the limit.
std::string FullFolderPath(const std::string& path) {
  char full[kMaxPath];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length == 0 || length >= sizeof full ? std::string() : std::string(full, length);
}

// Over an earlier installation: an older one is upgraded without a question
// (so is any one in a silent run); for the same or a newer one the user is
// asked (string 17 or 16). False when the user did not answer yes.
bool SettleVersionChange(const FileVersion& installed) {
  const FileVersion& next = InstallOptions.newVersion;
  const std::uint32_t installedValue = VersionValue(installed);
  const std::uint32_t nextValue = VersionValue(next);
  const char* change = installedValue < nextValue   ? "older than the package's"
                       : installedValue > nextValue ? "newer than the package's"
                                                    : "the same as the package's";
  RunLogEvent("installed version " + VersionText(installed) + ":", change);
  if (InstallOptions.silent || installedValue < nextValue) {
    RunLogEvent("upgrade");
    InstallOptions.isUpgrade = true;
    return true;
  }
  char question[512];
  if (installedValue > nextValue) {
    std::snprintf(question, sizeof question, LoadStringResource(IDS_OLDER_PACKAGE).c_str(),
                  static_cast<int>(installed.major), static_cast<int>(installed.minor),
                  static_cast<int>(installed.third), static_cast<int>(installed.fourth),
                  static_cast<int>(next.major), static_cast<int>(next.minor), static_cast<int>(next.third),
                  static_cast<int>(next.fourth));
  } else {
    std::snprintf(question, sizeof question, LoadStringResource(IDS_SAME_VERSION).c_str(),
                  static_cast<int>(next.major), static_cast<int>(next.minor), static_cast<int>(next.third),
                  static_cast<int>(next.fourth));
  }
  return AppMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// A package without a readable application version (major 0) or without its
// install script.
bool IsPackageDamaged() {
  if (InstallOptions.newVersion.major == 0) {
    RunLogEvent("damaged package: no application version in",
                JoinBoundedPath(InstallOptions.sourceFolder, names::kApplicationExe));
    return true;
  }
  const std::string script = JoinBoundedPath(InstallOptions.sourceFolder, names::kUninstallLog);
  if (PathExists(script)) return false;
  RunLogEvent("damaged package: no install script", script);
  return true;
}

INT_PTR RunSetupWizard() {
  CSetupDlg wizard;
  return wizard.DoModal();
}

void EndProcess(int status) {
  RunLogExitStatus(status);
  std::exit(status);
}

// The earlier installation's folder, or the default destination of a new
// one, and the package's folder.
void FindEarlierInstallation(const std::string& ownPath) {
  InstallOptionsRecord& options = InstallOptions;
  options.destinationFolder = FindInstalledFolder();
  options.sourceFolder = FolderPart(ownPath);
  if (options.destinationFolder.empty()) {
    RunLogEvent("no earlier installation");
    options.destinationFolder = ProgramFilesFolder() + "\\" + names::kProductName;
    options.isNewInstall = true;
  } else {
    RunLogEvent("earlier installation in", options.destinationFolder);
  }
}

// The options and destination the command line's switches give, and the
// default program group.
void ApplySwitches(const std::vector<std::string>& args) {
  InstallOptionsRecord& options = InstallOptions;
  const DriverSwitches switches = ReadDriverSwitches(args, &FolderExists, &FullFolderPath);
  if (switches.runAfter) options.runAfter = true;
  if (switches.allUsers) options.allUsers = true;
  if (switches.autoStart) options.autoStart = true;
  if (switches.noDesktopIcon) options.desktopIcon = false;
  // A folder that does not exist yet is made by the installation, once the
  // questions and the wizard are past: a cancelled run leaves nothing.
  if (!switches.destination.empty()) options.destinationFolder = switches.destination;
  if (switches.destinationMissing) RunLogEvent("the destination does not exist yet:", switches.destination);
  options.programGroup = names::kProductName;
}

// Over an earlier installation: the version question, then that
// installation's all-users choice and program group. False when the user
// did not answer yes.
bool SettleEarlierInstallation() {
  InstallOptionsRecord& options = InstallOptions;
  const FileVersion installed = ReadFileVersion(JoinBoundedPath(options.destinationFolder, names::kApplicationExe));
  if (!SettleVersionChange(installed)) return false;
  // The earlier installation's choice wins over "-allusers".
  options.allUsers =
      ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kAllUsersValue) == names::kAllUsersYes;
  options.programGroup = RecoverProgramGroup(options.destinationFolder, options.allUsers, options.programGroup);
  return true;
}

// A damaged package ends the run with its own status.
void EndForDamagedPackage(const InstallDriverHandovers& handovers) {
  // A silent run has nobody to read the box or the page: the status says it.
  if (!InstallOptions.silent) {
    AppMessageBox(IDS_DAMAGED_PACKAGE, MB_OK | MB_ICONERROR);
    OpenWebPage(ORVELLE_HOME_PAGE);
  }
  handovers.endProcess(exitstatus::kDamagedPackage);
}

// The installation, silent or through the wizard; false when the run ends
// without one (the wizard cancelled or not shown).
bool RunInstallation(const InstallDriverHandovers& handovers) {
  if (InstallOptions.silent) {
    if (InstallOptions.isNewInstall) InstallOptions.allUsers = true;
    handovers.install();
    return true;
  }
  const INT_PTR result = handovers.runWizard();
  RunLogEvent("wizard ended:", result == IDOK ? "finished" : result == -1 ? "could not be shown" : "cancelled");
  // -1: the wizard could not be created at all, which is a failure, not
  // the user's cancellation.
  if (result == -1) handovers.endProcess(exitstatus::kFailed);
  return result == IDOK;
}

// What follows an installation: the installed folder made current, the
// vendor's page after a new installation or an upgrade, the application
// when asked for.
void FinishInstallation() {
  const InstallOptionsRecord& options = InstallOptions;
  // A destination that could not be made holds nothing to show or start.
  if (!FolderExists(options.destinationFolder)) return;
  SetCurrentDirectoryA(options.destinationFolder.c_str());
  if (!options.silent && (options.isNewInstall || options.isUpgrade))
    OpenVendorPage(options.destinationFolder, options.isUpgrade);
  if (options.runAfter) StartApplication(options.destinationFolder);
}

}  // namespace

bool RunInstallDriver(const std::vector<std::string>& args) {
  return RunInstallDriver(args, OwnProgramPath(), InstallDriverHandovers{&Install, &RunSetupWizard, &EndProcess});
}

bool RunInstallDriver(const std::vector<std::string>& args, const std::string& ownPath,
                      const InstallDriverHandovers& handovers) {
  FindEarlierInstallation(ownPath);
  ApplySwitches(args);
  InstallOptions.newVersion = ReadFileVersion(JoinBoundedPath(InstallOptions.sourceFolder, names::kApplicationExe));
  RunLogEvent("package version", VersionText(InstallOptions.newVersion));
  if (!InstallOptions.isNewInstall && !SettleEarlierInstallation()) return true;
  // Returning true after an ended process happens only in tests.
  if (IsPackageDamaged()) {
    EndForDamagedPackage(handovers);
    return true;
  }
  if (!RunInstallation(handovers)) return true;
  FinishInstallation();
  return false;
}
