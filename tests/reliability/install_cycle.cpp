#include "install_cycle.h"

#include <windows.h>

#include "common/handle.h"
#include "common/names.h"
#include "common/registry.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"
#include "wizard_session.h"

namespace {
constexpr char kFinishCaption[] = "&Terminer >";

// Sets a check box of the page on show to `checked`.
bool SetChecked(const WizardSession& wizard, int id, bool checked) {
  if (wizard.PageItemChecked(id) != checked) wizard.ClickPage(id);
  return ui::WaitUntil([&] { return wizard.PageItemChecked(id) == checked; }, 5000);
}
}  // namespace

std::string SilentSwitches(const CycleOptions& options) {
  std::string switches = "-s";
  if (!options.desktopIcon) switches += " -nodeskico";
  if (options.autoStart) switches += " -autostart";
  return switches;
}

WizardInstallation RunWizardInstallation(const std::string& package, const std::string& arguments,
                                         const CycleOptions& options, const std::string& currentFolder) {
  WizardInstallation outcome;
  WizardSession wizard;
  if (!wizard.Start(SetupIn(package), arguments, currentFolder)) return outcome;
  bool ran = wizard.Next(Page::Agreement) && wizard.Next(Page::Folder);
  if (ran) {
    wizard.ClickPage(options.allUsers ? IDC_FOR_ALL_USERS : IDC_FOR_CURRENT_USER);
    ran = ui::WaitUntil(
              [&] { return wizard.PageItemChecked(options.allUsers ? IDC_FOR_ALL_USERS : IDC_FOR_CURRENT_USER); },
              5000) &&
          wizard.Next(Page::Group);
  }
  ran = ran && SetChecked(wizard, IDC_AUTOSTART, options.autoStart) &&
        SetChecked(wizard, IDC_DESKTOP_ICON, options.desktopIcon) && wizard.Next(Page::Ready);
  if (ran) {
    wizard.ClickFrame(IDOK);
    ran = ui::WaitUntil([&] { return wizard.Caption(IDOK) == kFinishCaption; }, kProgramRunWait);
  }
  if (ran) {
    outcome.completionText = wizard.PageText(IDC_READY_TEXT);
    wizard.ClickFrame(IDOK);
  }
  outcome.status = wizard.Finish(kProgramRunWait);
  outcome.ran = ran;
  return outcome;
}

bool InstallThroughWizard(const std::string& package, const CycleOptions& options, const std::string& currentFolder) {
  const WizardInstallation outcome = RunWizardInstallation(package, "", options, currentFolder);
  return outcome.ran && outcome.status == 0;
}

std::string InstalledFolder() {
  return ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue);
}

bool UninstallSilently(const std::string& installedFolder) {
  const long status = RunToEnd(UninstallerIn(installedFolder), names::kSilentSwitch, installedFolder, kProgramRunWait);
  // The uninstaller ends as soon as its copy exists.
  return status == 0 && !WaitForTemporaryCopies(kProgramRunWait).empty();
}

