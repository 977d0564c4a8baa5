// The ready page: a short text before the installation; the frame turns it
// into the completion page (texts 1010 and 1011, the progress line 1009, the
// run-after check box 1012) and reads the check box at Finish.
#pragma once
#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"

class CStartDlg : public CWizardPage {
 public:
  CStartDlg() : CWizardPage(IDD_READY) {}
};
