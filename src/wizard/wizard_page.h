// A page of the setup wizard: a child dialog without a title that the frame
// creates inside itself, places, shows and closes. Every page fills its
// controls from InstallOptions while it initialises and stores them back
// when it closes.
#pragma once
#include <string>

#include "framework/dialog.h"

class CWizardPage : public CDialog {
 public:
  using CDialog::CDialog;

  // Stores what the controls hold into InstallOptions, destroys the window
  // and answers true; a page that refuses has told the user why, keeps its
  // window and answers false. The default stores nothing.
  virtual bool Close();

 protected:
  // The whole text of control `id`; empty when there is no such control.
  std::string ItemText(int id) const;
};

// The whole text of a window; empty for no window.
std::string WindowText(HWND window);
