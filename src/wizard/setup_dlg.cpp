#include "wizard/setup_dlg.h"

#include "common/string_table.h"
#include "driver/install_options.h"
#include "engine/install.h"
#include "framework/display_scale.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "wizard/agreement_dlg.h"
#include "wizard/completion_text.h"
#include "wizard/folder_dlg.h"
#include "wizard/group_dlg.h"
#include "wizard/into_dlg.h"
#include "wizard/start_dlg.h"

namespace {
// Gap between the picture's right edge and the page, in pixels at 96 DPI.
constexpr int kPageGap = 4;

// The system's notice of a new DPI (Windows 8.1 and later), and the frame's
// own message that follows it once the system has scaled the frame.
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED
constexpr UINT kRescalePicture = WM_APP + 1;

void Show(HWND window, bool shown) { ShowWindow(window, shown ? SW_SHOW : SW_HIDE); }

std::unique_ptr<CWizardPage> MakePage(int index) {
  switch (index) {
    case 0: return std::make_unique<CIntoDlg>();
    case 1: return std::make_unique<CAgreementDlg>();
    case 2: return std::make_unique<CFolderDlg>();
    case 3: return std::make_unique<CGroupDlg>();
    default: return std::make_unique<CStartDlg>();
  }
}
}  // namespace

CSetupDlg::~CSetupDlg() = default;

INT_PTR CSetupDlg::DoModal(HWND owner) {
  const INT_PTR result = CDialog::DoModal(owner);
  SetAppMainWindow(nullptr);
  page_.reset();
  return result;
}

BOOL CSetupDlg::OnInitDialog() {
  SetAppMainWindow(Hwnd());
  ScalePicture();
  savedNextCaption_ = WindowText(Item(IDOK));
  savedCancelCaption_ = WindowText(Item(IDCANCEL));
  Next();
  // Next has the focus already.
  return FALSE;
}

bool CSetupDlg::OnCommand(WORD id, WORD notifyCode) {
  if (notifyCode != BN_CLICKED) return false;
  // Commands that arrive while the installation runs (a message box of the
  // installation lets posted ones through) are dropped.
  if (installing_) return id == IDOK || id == IDCANCEL || id == IDC_BACK;
  switch (id) {
    case IDOK: Next(); return true;
    case IDC_BACK: Back(); return true;
    case IDCANCEL: Cancel(); return true;
    default: return false;
  }
}

INT_PTR CSetupDlg::OnMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  if (message == kDpiChanged) {
    // Left to the system (handled stays false), which scales the frame and
    // its controls first; the picture follows.
    PostMessageA(Hwnd(), kRescalePicture, 0, 0);
  } else if (message == kRescalePicture) {
    handled = true;
    ScalePicture();
    if (page_ && IsWindowVisible(Item(IDC_PICTURE))) PlacePage();
  }
  return 0;
}

void CSetupDlg::Next() {
  if (page_ && pageIndex_ < kReadyPage) {
    if (!page_->Close()) return;
    page_.reset();
  }
  ++pageIndex_;
  if (savedTitle_.empty()) savedTitle_ = WindowText(Hwnd());
  EnterPage();
}

void CSetupDlg::Back() {
  // Back is hidden on the welcome page and disabled once installed.
  if (pageIndex_ <= kWelcomePage || pageIndex_ > kReadyPage) return;
  if (page_) {
    if (!page_->Close()) return;
    page_.reset();
  }
  --pageIndex_;
  EnterPage();
}

void CSetupDlg::Cancel() {
  // Once the installation has run, nothing is left to cancel: Finish is the
  // way out (a Cancel result would tell the driver nothing was installed).
  if (pageIndex_ >= kInstalled) return;
  if (AppMessageBox(IDS_CONFIRM_CANCEL, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) EndDialog(IDCANCEL);
}

void CSetupDlg::EnterPage() {
  if (pageIndex_ != kAgreementPage) {
    SetWindowTextA(Item(IDOK), savedNextCaption_.c_str());
    SetWindowTextA(Item(IDCANCEL), savedCancelCaption_.c_str());
  }
  switch (pageIndex_) {
    case kAgreementPage:
      // The agreement page places and shows itself over the picture; Next
      // and the focus stay as they are.
      SetWindowTextA(Item(IDOK), LoadStringResource(IDS_YES_CAPTION).c_str());
      SetWindowTextA(Item(IDCANCEL), LoadStringResource(IDS_NO_CAPTION).c_str());
      Show(Item(IDC_BACK), true);
      Show(Item(IDC_PICTURE), false);
      page_ = MakePage(pageIndex_);
      page_->Create(Hwnd());
      SetWindowTextA(Hwnd(), LoadStringResource(IDS_AGREEMENT_TITLE).c_str());
      break;
    case kInstalled:
      RunInstallation();
      break;
    case kFinished:
      Finish();
      break;
    default:
      page_ = MakePage(pageIndex_);
      page_->Create(Hwnd());
      if (pageIndex_ == kWelcomePage) Show(Item(IDC_BACK), false);
      ShowPage();
      break;
  }
}

void CSetupDlg::ShowPage() {
  SetWindowTextA(Hwnd(), savedTitle_.c_str());
  HWND picture = Item(IDC_PICTURE);
  Show(picture, true);
  EnableWindow(Item(IDOK), TRUE);
  Focus(IDOK);
  PlacePage();
}

void CSetupDlg::ScalePicture() {
  // A picture that cannot be scaled stays as it is.
  picture_.Show(Item(IDC_PICTURE), WindowDpi(Hwnd()), PictureRoom(Hwnd(), Item(IDC_PICTURE)));
}

void CSetupDlg::PlacePage() {
  RECT place;
  GetWindowRect(Item(IDC_PICTURE), &place);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&place), 2);
  const int gap = ScaleForDpi(kPageGap, WindowDpi(Hwnd()));
  SetWindowPos(page_->Hwnd(), HWND_TOP, place.right + gap, place.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CSetupDlg::RunInstallation() {
  HWND page = page_->Hwnd();
  Show(GetDlgItem(page, IDC_READY_TEXT), false);
  Show(GetDlgItem(page, IDC_READY_HINT), false);
  Show(GetDlgItem(page, IDC_INSTALLING), true);
  // Nothing is repainted while the installation runs: show the line now.
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EnableWindow(Item(IDC_BACK), FALSE);
  EnableWindow(Item(IDOK), FALSE);
  EnableWindow(Item(IDCANCEL), FALSE);

  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  installing_ = true;
  Install();
  installing_ = false;
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));

  EnableWindow(Item(IDOK), TRUE);
  SetWindowTextA(Item(IDOK), LoadStringResource(IDS_FINISH_CAPTION).c_str());
  Show(GetDlgItem(page, IDC_INSTALLING), false);
  CheckDlgButton(page, IDC_RUN_AFTER, BST_UNCHECKED);
  Show(GetDlgItem(page, IDC_RUN_AFTER), true);
  // Success is said only when everything could be installed.
  const std::string outcome =
      InstallFailureCount() == 0
          ? LoadStringResource(IDS_INSTALL_SUCCEEDED)
          : IncompleteInstallationText(GetDlgItem(page, IDC_READY_TEXT), InstallFailureCount(), FirstInstallFailure());
  SetDlgItemTextA(page, IDC_READY_TEXT, outcome.c_str());
  SetDlgItemTextA(page, IDC_READY_HINT, LoadStringResource(IDS_PRESS_FINISH).c_str());
  Show(GetDlgItem(page, IDC_READY_TEXT), true);
  Show(GetDlgItem(page, IDC_READY_HINT), true);
  Focus(IDOK);
}

void CSetupDlg::Finish() {
  // The check box replaces whatever the command line asked for.
  InstallOptions.runAfter = IsDlgButtonChecked(page_->Hwnd(), IDC_RUN_AFTER) == BST_CHECKED;
  EndDialog(IDOK);
}

void CSetupDlg::Focus(int id) {
  // The dialog's own way: the default button follows the focus.
  SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}
