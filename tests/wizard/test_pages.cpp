// The welcome, agreement and program group pages, each created inside a
// window of the test: what they show from InstallOptions and the current
// folder, and what the group page stores or refuses. And the frame's picture
// as the frame scales it for the display's DPI.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/string_table.h"
#include "driver/install_options.h"
#include "gtest/gtest.h"
#include "page_host.h"
#include "resources/resource_ids.h"
#include "support/installed_state.h"
#include "support/message_box_script.h"
#include "support/test_folders.h"
#include "wizard/agreement_dlg.h"
#include "wizard/group_dlg.h"
#include "wizard/into_dlg.h"
#include "wizard/wizard_picture.h"

namespace {

constexpr char kPublisherLines[] = "\nCopyright \xa9 Tamberlin Technology LLC\nTous droits r\xe9serv\xe9s.";

TEST(WelcomePage, VersionLineHasABetaSuffixOnlyWhenTheFourthNumberIsSet) {
  struct Case { FileVersion version; const char* line; };
  const Case cases[] = {
      {{6, 61, 2, 0}, "Orvelle ver. 6.61.02 "},
      {{6, 70, 1, 3}, "Orvelle ver. 6.70.01 Beta 3"},
      {{6, 0, 0, 12}, "Orvelle ver. 6.00.00 Beta 12"},
      {{10, 5, 123, 0}, "Orvelle ver. 10.05.123 "},
  };
  PageHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    InstallOptions.newVersion = c.version;
    CIntoDlg page;
    ASSERT_TRUE(page.Create(host.Window()));
    EXPECT_EQ(WindowText(page.Item(IDC_VERSION_LINE)), std::string(c.line) + kPublisherLines);
    EXPECT_FALSE(IsWindowVisible(page.Hwnd())) << "the frame shows the page";
    EXPECT_TRUE(page.Close());
    EXPECT_EQ(page.Hwnd(), nullptr);
  }
}

// Pages created with a chosen current folder, which is where the agreement
// page finds its file.
class AgreementPage : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(sizeof previous_, previous_);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
  }
  void TearDown() override { SetCurrentDirectoryA(previous_); }
  std::string Agreement() const { return folder_ / names::kAgreementFile; }

  char previous_[MAX_PATH] = "";
  TestFolder folder_;
  PageHost host_;
};

TEST_F(AgreementPage, ShowsTheFileAsItIsUpToAZeroByte) {
  struct Case {
    const char* name;
    std::string bytes;  // absent file when empty
    std::string shown;
  };
  const Case cases[] = {
      {"missing file", "", ""},
      {"CR LF lines", "Contrat\r\nde licence\r\n", "Contrat\r\nde licence\r\n"},
      {"zero byte inside", std::string("Avant\0Apr\xe8s", 10), "Avant"},
      {"bare LF kept", "un\ndeux\n", "un\ndeux\n"},
      {"code page bytes kept", "\xc9t\xe9 \x80", "\xc9t\xe9 \x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(Agreement().c_str());
    if (!c.bytes.empty()) ASSERT_TRUE(WriteFileBytes(Agreement(), c.bytes));
    EXPECT_EQ(ReadAgreementText(names::kAgreementFile), c.bytes);
    CAgreementDlg page;
    ASSERT_TRUE(page.Create(host_.Window()));
    char shown[256] = "";
    GetDlgItemTextA(page.Hwnd(), IDC_AGREEMENT_TEXT, shown, sizeof shown);
    EXPECT_EQ(std::string(shown), c.shown);
    EXPECT_TRUE(page.Close());
  }
}

TEST_F(AgreementPage, PlacesItselfOverThePictureFromTheTopWithNothingSelected) {
  std::string text;
  for (int line = 1; line <= 80; ++line) text += "Article " + std::to_string(line) + "\r\n";
  ASSERT_TRUE(WriteFileBytes(Agreement(), text));
  HWND focused = CreateWindowExA(0, "BUTTON", "focus", WS_CHILD | WS_VISIBLE, 600, 400, 60, 20, host_.Window(),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  SetFocus(focused);
  ASSERT_EQ(GetFocus(), focused);

  CAgreementDlg page;
  ASSERT_TRUE(page.Create(host_.Window()));
  EXPECT_TRUE(IsWindowVisible(page.Hwnd()));
  RECT place;
  GetWindowRect(page.Hwnd(), &place);
  MapWindowPoints(nullptr, host_.Window(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 4);
  EXPECT_EQ(place.top, 4);
  EXPECT_EQ(GetWindow(host_.Window(), GW_CHILD), page.Hwnd()) << "on top of the other children";

  HWND box = page.Item(IDC_AGREEMENT_TEXT);
  DWORD start = 1, end = 1;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
  EXPECT_EQ(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(GetFocus(), focused) << "the page leaves the focus alone";
}

// Startup folders of the prefix replaced by known ones for the case table.
class GroupName : public testing::Test {
 protected:
  static void SetStartupFolders(const char* perUser, const char* allUsers) {
    SetValue(HKEY_CURRENT_USER, names::kStartupValue, perUser);
    SetValue(HKEY_LOCAL_MACHINE, names::kCommonStartupValue, allUsers);
  }

 private:
  static void SetValue(HKEY root, const char* name, const char* folder) {
    if (folder)
      ASSERT_TRUE(WriteRegistryString(root, names::kShellFoldersKey, name, folder));
    else
      DeleteValue(root, names::kShellFoldersKey, name);
  }
};

TEST_F(GroupName, IsTrimmedAndRefusedWhenShortOrTheStartupFolder) {
  SetStartupFolders("C:\\users\\marie\\Menu D\xe9marrer\\Programmes\\D\xc9MARRAGE",
                    "C:\\ProgramData\\Start Menu\\Programs\\Autostart");
  struct Case { const char* typed; unsigned message; const char* kept; };
  const Case cases[] = {
      {"Orvelle 6", 0, "Orvelle 6"},
      {"  ab  ", IDS_GROUP_TOO_SHORT, "ab"},
      {" \t\r\n\v\f", IDS_GROUP_TOO_SHORT, ""},
      {"abc", 0, "abc"},
      {"\x83\x41\x83\x42", 0, "\x83\x41\x83\x42"},  // four bytes pass, whatever the code page
      {"d\xe9marrage", IDS_GROUP_IS_STARTUP, "d\xe9marrage"},
      {"  D\xc9MARRAGE ", IDS_GROUP_IS_STARTUP, "D\xc9MARRAGE"},
      {"aUTOsTART", IDS_GROUP_IS_STARTUP, "aUTOsTART"},
      {"Outils\\Autostart", 0, "Outils\\Autostart"},  // compared as a whole
      {"Programs", 0, "Programs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    std::string name = c.typed;
    EXPECT_EQ(CheckProgramGroupName(name), c.message);
    EXPECT_EQ(name, c.kept);
  }
}

TEST_F(GroupName, StartupOfTheSystemIsRefusedInAnyCase) {
  // The prefix's own folders: the current user's ends with "Startup".
  for (const char* name : {"STARTUP", "startup", "StartUp"}) {
    std::string typed = name;
    EXPECT_EQ(CheckProgramGroupName(typed), IDS_GROUP_IS_STARTUP) << name;
  }
}

TEST_F(GroupName, UnreadableStartupFoldersRefuseNothing) {
  SetStartupFolders(nullptr, nullptr);
  for (const char* name : {"Startup", "Common Startup", "abc"}) {
    std::string typed = name;
    EXPECT_EQ(CheckProgramGroupName(typed), 0u) << name;
  }
}

class GroupPage : public testing::Test {
 protected:
  void SetUp() override {
    InstallOptions.programGroup = "Orvelle 6";
    InstallOptions.autoStart = false;
    InstallOptions.desktopIcon = true;
  }
  PageHost host_;
};

TEST_F(GroupPage, ShowsTheGroupAndOptionsOfTheRun) {
  const bool flags[][2] = {{false, true}, {true, false}, {true, true}, {false, false}};
  for (const auto& f : flags) {
    InstallOptions.autoStart = f[0];
    InstallOptions.desktopIcon = f[1];
    InstallOptions.programGroup = f[0] ? "Outils\\Images" : "Orvelle 6";
    CGroupDlg page;
    ASSERT_TRUE(page.Create(host_.Window()));
    EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_AUTOSTART) == BST_CHECKED, f[0]);
    EXPECT_EQ(IsDlgButtonChecked(page.Hwnd(), IDC_DESKTOP_ICON) == BST_CHECKED, f[1]);
    EXPECT_EQ(WindowText(page.Item(IDC_GROUP_NAME)), InstallOptions.programGroup);
  }
}

TEST_F(GroupPage, RefusedNameKeepsThePageAndChangesNothing) {
  CGroupDlg page;
  ASSERT_TRUE(page.Create(host_.Window()));
  CheckDlgButton(page.Hwnd(), IDC_AUTOSTART, BST_CHECKED);
  CheckDlgButton(page.Hwnd(), IDC_DESKTOP_ICON, BST_UNCHECKED);

  const struct {
    const char* typed;
    unsigned message;
  } refusals[] = {{"  ab  ", IDS_GROUP_TOO_SHORT}, {"   ", IDS_GROUP_TOO_SHORT}, {"STARTUP", IDS_GROUP_IS_STARTUP}};
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.typed);
    SetDlgItemTextA(page.Hwnd(), IDC_GROUP_NAME, r.typed);
    MessageBoxScript boxes({IDOK});
    EXPECT_FALSE(page.Close());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(IsBox(boxes.Shown()[0], LoadStringResource(r.message), MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(IsWindow(page.Hwnd()));
    EXPECT_EQ(WindowText(page.Item(IDC_GROUP_NAME)), r.typed) << "the user's text stays";
    EXPECT_EQ(InstallOptions.programGroup, "Orvelle 6");
    EXPECT_FALSE(InstallOptions.autoStart);
    EXPECT_TRUE(InstallOptions.desktopIcon);
  }

  SetDlgItemTextA(page.Hwnd(), IDC_GROUP_NAME, "  Mes outils\t");
  EXPECT_TRUE(page.Close());
  EXPECT_EQ(page.Hwnd(), nullptr);
  EXPECT_EQ(InstallOptions.programGroup, "Mes outils");
  EXPECT_TRUE(InstallOptions.autoStart);
  EXPECT_FALSE(InstallOptions.desktopIcon);
}

// The frame's template as the dialog manager builds it, destroyed at the end.
class FrameTemplate {
 public:
  FrameTemplate()
      : hwnd_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP), nullptr, &Proc, 0)) {}
  ~FrameTemplate() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  FrameTemplate(const FrameTemplate&) = delete;
  FrameTemplate& operator=(const FrameTemplate&) = delete;
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 private:
  static INT_PTR CALLBACK Proc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
  HWND hwnd_;
};

HBITMAP ShownBitmap(HWND control) {
  return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// The colours (0xRRGGBB) of a bitmap's pixels.
std::set<DWORD> Colours(HBITMAP bitmap) {
  BITMAP size{};
  if (GetObjectA(bitmap, sizeof size, &size) == 0) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::set<DWORD> colours;
  if (rows == size.bmHeight)
    for (DWORD pixel : pixels) colours.insert(pixel & 0xFFFFFF);
  return colours;
}

TEST(WizardPictureScale, FillsItsControlFilteredAtEachDpi) {
  // The room is the height the frame's layout gives the picture; where the
  // dialog font grew less than the DPI, the picture keeps to it, but never
  // shrinks below the bitmap as drawn.
  const struct {
    UINT dpi;
    LONG room;
    LONG width, height;
  } rows[] = {{96, 260, 120, 260},  {96, 258, 120, 260},  {96, 241, 120, 260},  {120, 0, 150, 325},
              {144, 390, 180, 390}, {192, 600, 240, 520}, {144, 340, 157, 340}, {192, 461, 213, 461}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " dpi, room " + std::to_string(row.room));
    WizardPicture picture;  // outlives the control, as in the wizard
    FrameTemplate frame;
    HWND control = frame.Item(IDC_PICTURE);
    ASSERT_NE(control, nullptr);
    const std::set<DWORD> original = Colours(ShownBitmap(control));
    ASSERT_FALSE(original.empty());

    ASSERT_TRUE(picture.Show(control, row.dpi, row.room));
    HBITMAP shown = ShownBitmap(control);
    BITMAP bitmap{};
    ASSERT_NE(GetObjectA(shown, sizeof bitmap, &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, row.width);
    EXPECT_EQ(bitmap.bmHeight, row.height);
    // The control shows the whole bitmap inside its border, nothing else.
    RECT client{};
    ASSERT_TRUE(GetClientRect(control, &client));
    EXPECT_EQ(client.right, bitmap.bmWidth);
    EXPECT_EQ(client.bottom, bitmap.bmHeight);
    if (row.width == 120) continue;
    // Filtered: the copy holds averaged colours that none of the original's
    // pixels has; a plain stretch only repeats the original's pixels.
    size_t averaged = 0;
    for (DWORD colour : Colours(shown)) averaged += original.count(colour) == 0;
    EXPECT_GT(averaged, 0u);
  }
}

}  // namespace
