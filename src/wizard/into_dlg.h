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

// The version line: `format` (the template's text of the line, "%d.%02d.%02d
// %s" and the publisher's lines) filled with major, minor and third number
// and a suffix, "Beta <fourth>" when the fourth number is not 0, else empty.
std::string FormatVersionLine(const std::string& format, const FileVersion& version);
