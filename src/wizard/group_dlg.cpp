#include "wizard/group_dlg.h"

#include "common/shell_folders.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "framework/message_box.h"

namespace {
constexpr std::size_t kShortestGroupName = 3;  // bytes

// The last level of a startup folder, lower-cased; empty when unset.
std::string StartupFolderName(bool allUsers) {
  std::string name = NamePart(ReadShellFolder(ShellPlace::Startup, allUsers));
  return ToLower(name);
}
}  // namespace

unsigned CheckProgramGroupName(std::string& name) {
  TrimBlanks(name);
  if (name.size() < kShortestGroupName) return IDS_GROUP_TOO_SHORT;
  std::string lower = name;
  ToLower(lower);
  // An unreadable startup folder gives the empty text, which no accepted
  // name equals.
  if (lower == StartupFolderName(false) || lower == StartupFolderName(true)) return IDS_GROUP_IS_STARTUP;
  return 0;
}

BOOL CGroupDlg::OnInitDialog() {
  CheckDlgButton(Hwnd(), IDC_AUTOSTART, InstallOptions.autoStart ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Hwnd(), IDC_DESKTOP_ICON, InstallOptions.desktopIcon ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextA(Hwnd(), IDC_GROUP_NAME, InstallOptions.programGroup.c_str());
  return TRUE;
}

bool CGroupDlg::Close() {
  // The edit control keeps what the user typed; only the stored name is
  // trimmed.
  std::string name = ItemText(IDC_GROUP_NAME);
  if (const unsigned message = CheckProgramGroupName(name)) {
    AppMessageBox(message, MB_OK);
    return false;
  }
  InstallOptions.autoStart = IsDlgButtonChecked(Hwnd(), IDC_AUTOSTART) == BST_CHECKED;
  InstallOptions.desktopIcon = IsDlgButtonChecked(Hwnd(), IDC_DESKTOP_ICON) == BST_CHECKED;
  InstallOptions.programGroup = name;
  DestroyWindow();
  return true;
}
