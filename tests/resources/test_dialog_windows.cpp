// The templates as the dialog manager builds them: the frame's picture loads
// bitmap 101 and takes its size (the frame places every page by the picture's
// rectangle), the pages come up as hidden children of the frame, and the two
// install-type radio buttons form one group.
#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Window {
 public:
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  ~Window() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

HWND CreateFromTemplate(int id, HWND parent) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), parent,
                            PlainDialogProc, 0);
}

TEST(DialogWindows, FramePictureShowsBitmap101AtItsOwnSize) {
  Window frame(CreateFromTemplate(IDD_SETUP, nullptr));
  ASSERT_NE(frame.get(), nullptr);
  HWND picture = GetDlgItem(frame.get(), IDC_PICTURE);
  ASSERT_NE(picture, nullptr);
  EXPECT_FALSE(IsWindowVisible(picture));

  HANDLE image = reinterpret_cast<HANDLE>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(image, nullptr) << "the static did not load bitmap 101";
  BITMAP bitmap;
  ASSERT_NE(GetObjectA(image, sizeof bitmap, &bitmap), 0);
  EXPECT_EQ(bitmap.bmWidth, 120);
  EXPECT_EQ(bitmap.bmHeight, 260);

  // The control follows its bitmap, not the 81 x 161 units of the template.
  RECT window;
  ASSERT_TRUE(GetWindowRect(picture, &window));
  EXPECT_EQ(window.right - window.left, 120);
  EXPECT_EQ(window.bottom - window.top, 260);
}

TEST(DialogWindows, FrameDefaultCommandIsNext) {
  Window frame(CreateFromTemplate(IDD_SETUP, nullptr));
  ASSERT_NE(frame.get(), nullptr);
  LRESULT id = SendMessageA(frame.get(), DM_GETDEFID, 0, 0);
  EXPECT_EQ(HIWORD(id), DC_HASDEFID);
  EXPECT_EQ(LOWORD(id), IDOK);
}

TEST(DialogWindows, PagesComeUpAsHiddenChildrenOfTheFrame) {
  Window frame(CreateFromTemplate(IDD_SETUP, nullptr));
  ASSERT_NE(frame.get(), nullptr);
  for (int id : {IDD_WELCOME, IDD_AGREEMENT, IDD_FOLDER, IDD_GROUP, IDD_READY}) {
    SCOPED_TRACE("template " + std::to_string(id));
    Window page(CreateFromTemplate(id, frame.get()));
    ASSERT_NE(page.get(), nullptr);
    EXPECT_EQ(GetParent(page.get()), frame.get());
    LONG style = GetWindowLongA(page.get(), GWL_STYLE);
    EXPECT_EQ(style & WS_VISIBLE, 0);
    EXPECT_EQ(style & WS_CHILD, WS_CHILD);
  }
}

TEST(DialogWindows, ReadyPageShowsOnlyItsTextsAtStart) {
  ASSERT_EQ(AnsiCodePage(), 1252u);
  Window frame(CreateFromTemplate(IDD_SETUP, nullptr));
  Window page(CreateFromTemplate(IDD_READY, frame.get()));
  ASSERT_NE(page.get(), nullptr);
  ShowWindow(frame.get(), SW_SHOW);
  ShowWindow(page.get(), SW_SHOW);
  char text[256];
  GetDlgItemTextA(page.get(), IDC_READY_TEXT, text, sizeof text);
  EXPECT_STREQ(text, "Vous \xeates maintenant pr\xeat \xe0 installer Orvelle 6.");
  // Before the installation only the two texts show.
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page.get(), IDC_READY_TEXT)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page.get(), IDC_READY_HINT)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page.get(), IDC_INSTALLING)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page.get(), IDC_RUN_AFTER)));
  EXPECT_EQ(IsDlgButtonChecked(page.get(), IDC_RUN_AFTER), static_cast<UINT>(BST_UNCHECKED));
}

TEST(DialogWindows, InstallTypeRadioButtonsExcludeEachOther) {
  Window frame(CreateFromTemplate(IDD_SETUP, nullptr));
  Window page(CreateFromTemplate(IDD_FOLDER, frame.get()));
  ASSERT_NE(page.get(), nullptr);
  ShowWindow(frame.get(), SW_SHOW);
  ShowWindow(page.get(), SW_SHOW);
  HWND currentUser = GetDlgItem(page.get(), IDC_FOR_CURRENT_USER);
  HWND allUsers = GetDlgItem(page.get(), IDC_FOR_ALL_USERS);
  ASSERT_NE(currentUser, nullptr);
  ASSERT_NE(allUsers, nullptr);

  SendMessageA(currentUser, BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(page.get(), IDC_FOR_CURRENT_USER), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(page.get(), IDC_FOR_ALL_USERS), static_cast<UINT>(BST_UNCHECKED));

  SendMessageA(allUsers, BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(page.get(), IDC_FOR_CURRENT_USER), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(page.get(), IDC_FOR_ALL_USERS), static_cast<UINT>(BST_CHECKED));

  // The group ends before the next control: Tab from the group leaves it.
  EXPECT_EQ(GetNextDlgGroupItem(page.get(), allUsers, FALSE), currentUser);
  EXPECT_EQ(GetNextDlgGroupItem(page.get(), currentUser, FALSE), allUsers);
}

}  // namespace
