#include "wizard/setup_dlg.h"

// Not built yet: the wizard arrives with its own change. Until then a run
// without "-s" ends as if the user had cancelled: nothing is installed.
INT_PTR CSetupDlg::DoModal(HWND) { return IDCANCEL; }
