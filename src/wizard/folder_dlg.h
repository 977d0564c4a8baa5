// The destination folder page: installation for the current user or for all
// users, and the destination folder, which the user changes only through
// the system's folder browser.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"

class CFolderDlg : public CWizardPage {
 public:
  CFolderDlg() : CWizardPage(IDD_FOLDER) {}

  // Stores the install type into InstallOptions.allUsers; never refuses.
  bool Close() override;

 protected:
  // Shows destinationFolder and its note, checks the install type.
  BOOL OnInitDialog() override;
  // Browse.
  bool OnCommand(WORD id, WORD notifyCode) override;

 private:
  // String 19 when an earlier installation's program is in the folder
  // shown, else the template's note.
  void RefreshFolderNote();
  // Runs the folder browser on destinationFolder and takes the folder the
  // user chose, unless it holds an older generation (string 14). A chosen
  // folder that is in use for something else gets the product's sub-folder.
  void Browse();

  std::string savedNote_;
};

// The platform calls of this page, the system's unless a test has put its own
// in (PlatformOverride, tests/support).
struct FolderPageCalls {
  PIDLIST_ABSOLUTE(WINAPI* browseForFolder)(BROWSEINFOA* browseInfo);  // SHBrowseForFolderA
};
FolderPageCalls& FolderPagePlatform();
