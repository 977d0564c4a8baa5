#include "wizard/folder_dlg.h"

#include <objbase.h>

#include "common/bounded_path.h"
#include "common/com.h"
#include "common/file_attributes.h"
#include "common/file_search.h"
#include "common/names.h"
#include "common/string_table.h"
#include "driver/install_options.h"
#include "framework/message_box.h"

namespace {

// BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE
constexpr UINT kBrowserFlags = 0x71;

// A file of `folder` exists. A name that would not fit the path limit names
// no file.
bool HoldsFile(const std::string& folder, const char* name) { return IsPresent(JoinBoundedPath(folder, name)); }

// The folder has an entry other than "." and "..".
bool HasEntries(const std::string& folder) {
  const std::string pattern = JoinBoundedPath(folder, "*");
  if (pattern.empty()) return false;
  WIN32_FIND_DATAA found;
  FileSearch search(pattern, &found);
  if (!search.Found()) return false;
  do {
    if (!IsDotEntry(found.cFileName)) return true;
  } while (search.Next(&found));
  return false;
}

// The browser's item list, freed with the shell's allocator.
class ItemList {
 public:
  explicit ItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ItemList() {
    ComRef<IMalloc> allocator;
    if (list_ && SUCCEEDED(SHGetMalloc(allocator.out())) && allocator.get()) allocator->Free(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  PIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

// Selects the destination folder when the browser opens; keeps the browser
// open, with string 13, when the name typed into its edit box is invalid.
int CALLBACK BrowserCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  } else if (message == BFFM_VALIDATEFAILEDA) {
    // Owned by the browser: a box owned by the disabled frame would enable
    // the frame again when it closes, under the open browser.
    ShowMessageBox(browser, LoadStringResource(IDS_INVALID_FOLDER).c_str(), LoadStringResource(IDS_APP_TITLE).c_str(),
                   MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  return 0;
}

}  // namespace

FolderPageCalls& FolderPagePlatform() {
  static FolderPageCalls calls = {&SHBrowseForFolderA};
  return calls;
}

BOOL CFolderDlg::OnInitDialog() {
  savedNote_ = ItemText(IDC_FOLDER_NOTE);
  RefreshFolderNote();
  SetDlgItemTextA(Hwnd(), IDC_FOLDER_SHOWN, InstallOptions.destinationFolder.c_str());
  CheckRadioButton(Hwnd(), IDC_FOR_CURRENT_USER, IDC_FOR_ALL_USERS,
                   InstallOptions.allUsers ? IDC_FOR_ALL_USERS : IDC_FOR_CURRENT_USER);
  return TRUE;
}

bool CFolderDlg::Close() {
  if (IsDlgButtonChecked(Hwnd(), IDC_FOR_ALL_USERS) == BST_CHECKED)
    InstallOptions.allUsers = true;
  else if (IsDlgButtonChecked(Hwnd(), IDC_FOR_CURRENT_USER) == BST_CHECKED)
    InstallOptions.allUsers = false;
  DestroyWindow();
  return true;
}

bool CFolderDlg::OnCommand(WORD id, WORD notifyCode) {
  if (id == IDC_BROWSE && notifyCode == BN_CLICKED) {
    Browse();
    return true;
  }
  return CWizardPage::OnCommand(id, notifyCode);
}

void CFolderDlg::RefreshFolderNote() {
  const bool holdsCopy =
      !InstallOptions.isNewInstall && HoldsFile(InstallOptions.destinationFolder, names::kApplicationExe);
  SetDlgItemTextA(Hwnd(), IDC_FOLDER_NOTE,
                  holdsCopy ? LoadStringResource(IDS_FOLDER_HOLDS_COPY).c_str() : savedNote_.c_str());
}

void CFolderDlg::Browse() {
  const std::string title = LoadStringResource(IDS_BROWSE_TITLE);
  const std::string& destination = InstallOptions.destinationFolder;
  char displayName[kMaxPath] = "";
  BROWSEINFOA browseInfo{};
  browseInfo.hwndOwner = Hwnd();
  browseInfo.pidlRoot = nullptr;
  browseInfo.pszDisplayName = displayName;
  browseInfo.lpszTitle = title.c_str();
  browseInfo.ulFlags = kBrowserFlags;
  browseInfo.lpfn = &BrowserCallback;
  browseInfo.lParam = reinterpret_cast<LPARAM>(destination.c_str());

  // The browser can only select a folder that exists: make the destination
  // (its last level) for the time the browser is open. Removing it again
  // succeeds only when it is empty.
  CreateDirectoryA(destination.c_str(), nullptr);
  // The new-style browser needs COM on this thread.
  EnsureComInitialised();
  const ItemList chosenItem(FolderPagePlatform().browseForFolder(&browseInfo));
  RemoveDirectoryA(destination.c_str());
  if (!chosenItem.get()) return;

  char chosenPath[kMaxPath] = "";
  if (!SHGetPathFromIDListA(chosenItem.get(), chosenPath)) return;
  std::string chosen = chosenPath;
  RemoveDirectoryA(chosen.c_str());

  if (HoldsFile(chosen, names::kGeneration4Exe) || HoldsFile(chosen, names::kGeneration5Exe)) {
    AppMessageBox(IDS_OLDER_GENERATION, MB_OK);
    return;
  }
  // A folder in use for something else gets a sub-folder of its own. The
  // root of a drive comes with its backslash: no second one is added.
  if (!HoldsFile(chosen, names::kApplicationExe) && HasEntries(chosen)) {
    chosen = JoinBoundedPath(chosen, names::kProductName);
    if (chosen.empty()) return;  // would not fit: the folder stays as it was
  }
  InstallOptions.destinationFolder = chosen;
  SetDlgItemTextA(Hwnd(), IDC_FOLDER_SHOWN, chosen.c_str());
  RefreshFolderNote();
}
