// The program group page: the start-menu group that receives the shortcuts,
// and the autostart and desktop-shortcut options. The one page that can
// refuse to close: a group name that is too short or that names the startup
// folder keeps the wizard on the page, whether Next or Back was pressed.
#pragma once
#include <string>

#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"

class CGroupDlg : public CWizardPage {
 public:
  CGroupDlg() : CWizardPage(IDD_GROUP) {}

  // Validates the group name; when it passes, stores the trimmed name and
  // both options into InstallOptions and destroys the window. A refused
  // name shows string 23 or 24 and changes nothing.
  bool Close() override;

 protected:
  // Fills the controls from InstallOptions.
  BOOL OnInitDialog() override;
};

// The message a group name earns: 0 when it is accepted, IDS_GROUP_TOO_SHORT
// when it has fewer than 3 bytes once trimmed, IDS_GROUP_IS_STARTUP when it
// equals, without regard to case, the last level of the current user's or
// the all-users startup folder. `name` is trimmed of white space in place.
unsigned CheckProgramGroupName(std::string& name);
