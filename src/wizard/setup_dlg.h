// The setup wizard: a modal frame with Back, Next and Cancel and five pages.
#pragma once
#include "resources/resource_ids.h"
#include "startup/dialog.h"

class CSetupDlg : public CDialog {
 public:
  CSetupDlg() : CDialog(IDD_SETUP) {}
  // IDOK when the user went through to Finish (the installation ran);
  // IDCANCEL when the user gave up before.
  INT_PTR DoModal(HWND owner = nullptr);
};
