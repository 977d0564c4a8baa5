#include "wizard_session.h"

#include <cstdio>
#include <string>

#include "resources/resource_ids.h"
#include "screenshot.h"
#include "support/test_folders.h"
#include "ui_driver.h"

namespace {
constexpr char kFrameTitle[] = "Orvelle - Installation";
constexpr DWORD kFrameWait = 20000;

RECT InClientOf(HWND frame, HWND window) {
  RECT place{};
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&place), 2);
  return place;
}
}  // namespace

bool WizardSession::Start(const std::string& program, const std::string& arguments,
                          const std::string& currentFolder) {
  process_ = StartProgram(program, arguments, currentFolder);
  if (!process_) return false;
  frame_ = ui::WaitForDialogTitled(process_.id, kFrameTitle, kFrameWait);
  return frame_ != nullptr && WaitFor(Page::Welcome);
}

HWND WizardSession::PageWindow() const { return ui::ChildDialog(frame_); }

Page WizardSession::Shown() const {
  HWND page = PageWindow();
  if (!page) return Page::None;
  if (GetDlgItem(page, IDC_VERSION_LINE)) return Page::Welcome;
  if (GetDlgItem(page, IDC_BROWSE)) return Page::Folder;
  if (GetDlgItem(page, IDC_AUTOSTART)) return Page::Group;
  if (GetDlgItem(page, IDC_READY_TEXT)) return Page::Ready;
  if (GetDlgItem(page, IDC_AGREEMENT_TEXT)) return Page::Agreement;
  return Page::None;
}

bool WizardSession::WaitFor(Page page, DWORD timeoutMs) const {
  return ui::WaitUntil([&] { return Shown() == page; }, timeoutMs);
}

std::string WizardSession::Title() const { return ui::Text(frame_); }
std::string WizardSession::Caption(int id) const { return ui::ItemText(frame_, id); }
bool WizardSession::FrameItemShown(int id) const { return ui::IsShown(frame_, id); }
bool WizardSession::FrameItemEnabled(int id) const { return ui::IsEnabled(frame_, id); }
bool WizardSession::HasFocus(int id) const { return ui::FocusOf(frame_) == GetDlgItem(frame_, id); }
std::string WizardSession::PageText(int id) const { return ui::ItemText(PageWindow(), id); }
bool WizardSession::PageItemShown(int id) const { return ui::IsShown(PageWindow(), id); }
bool WizardSession::PageItemChecked(int id) const { return ui::IsChecked(PageWindow(), id); }
RECT WizardSession::PagePlace() const { return InClientOf(frame_, PageWindow()); }
RECT WizardSession::PicturePlace() const { return InClientOf(frame_, GetDlgItem(frame_, IDC_PICTURE)); }

void WizardSession::ClickFrame(int id) const { ui::Click(frame_, id); }
void WizardSession::ClickPage(int id) const { ui::Click(PageWindow(), id); }
void WizardSession::Key(UINT virtualKey) const { ui::PressKey(frame_, virtualKey); }
bool WizardSession::Type(int id, const std::string& text) const { return ui::SetItemText(PageWindow(), id, text); }

bool WizardSession::Next(Page page) const {
  ClickFrame(IDOK);
  return WaitFor(page);
}

HWND WizardSession::Box(DWORD timeoutMs) const { return ui::WaitForMessageBox(process_.id, timeoutMs); }

HWND WizardSession::Browser(DWORD timeoutMs) const {
  return ui::WaitForWindow(process_.id, timeoutMs,
                           [](HWND window) { return GetDlgItem(window, kBrowserTree) != nullptr; });
}

HWND WizardSession::OpenBrowserOn(const std::string& folderName) const {
  constexpr int kAttempts = 3;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    ClickPage(IDC_BROWSE);
    HWND browser = Browser();
    if (!browser) return nullptr;
    if (ui::WaitUntil([&] { return ui::ItemText(browser, kBrowserFolderName) == folderName; }, 5000)) return browser;
    std::printf("note: the browser opened on \"%s\", not \"%s\" (attempt %d)\n",
                ui::ItemText(browser, kBrowserFolderName).c_str(), folderName.c_str(), attempt);
    ui::Press(browser, IDCANCEL);
    if (!ui::WaitForClose(browser, 5000)) return nullptr;
  }
  return nullptr;
}

UINT DisplayDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void WizardSession::Screenshot(const std::string& name, HWND window) const {
  std::string folder = ProgramFolder() + "\\..\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (DisplayDpi() != 96) {
    folder += "\\dpi" + std::to_string(DisplayDpi());
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  Sleep(300);  // let the last change be painted
  ui::SaveScreenshot(window ? window : frame_, folder + "\\" + name + ".png");
}
