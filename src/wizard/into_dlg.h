// The welcome page: greets the user and shows the version being installed.
#pragma once
#include <string>

#include "driver/install_options.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"

class CIntoDlg : public CWizardPage {
 public:
  CIntoDlg() : CWizardPage(IDD_WELCOME) {}

 protected:
  // Fills the version line from InstallOptions.newVersion.
  BOOL OnInitDialog() override;
};

