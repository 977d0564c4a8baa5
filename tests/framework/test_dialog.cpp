// The dialog class on real windows (needs a display).
#include "framework/dialog.h"

#include <memory>

#include "gtest/gtest.h"
#include "resources/resource_ids.h"

namespace {

// The frame template, ended from its own initialisation with a chosen command.
class EndsAtOnce : public CDialog {
 public:
  explicit EndsAtOnce(WORD command) : CDialog(IDD_SETUP), command_(command) {}
  bool initialised = false;
  HWND childSeen = nullptr;

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    childSeen = Item(IDOK);
    PostMessageA(Hwnd(), WM_COMMAND, command_, 0);
    return TRUE;
  }

 private:
  WORD command_;
};

TEST(Dialog, ModalRunEndsWithTheCommandThatClosedIt) {
  for (WORD command : {WORD{IDOK}, WORD{IDCANCEL}}) {
    EndsAtOnce dialog(command);
    EXPECT_EQ(dialog.DoModal(), command);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_NE(dialog.childSeen, nullptr) << "controls are reachable during initialisation";
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "no window is left after the modal run";
  }
}

TEST(Dialog, ModalRunOfAMissingTemplateFails) {
  CDialog dialog(9999);
  EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(Dialog, ChildPageLivesInsideItsParentUntilDestroyed) {
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  {
    CDialog page(IDD_WELCOME);
    ASSERT_TRUE(page.Create(parent));
    EXPECT_EQ(GetParent(page.Hwnd()), parent);
    EXPECT_TRUE(GetWindowLongA(page.Hwnd(), GWL_STYLE) & WS_CHILD);
    page.DestroyWindow();
    EXPECT_EQ(page.Hwnd(), nullptr);
  }
  {
    // A page that is never destroyed explicitly goes with its object.
    auto page = std::make_unique<CDialog>(IDD_READY);
    ASSERT_TRUE(page->Create(parent));
    HWND window = page->Hwnd();
    EXPECT_TRUE(IsWindow(window));
    page.reset();
    EXPECT_FALSE(IsWindow(window));
  }
  DestroyWindow(parent);
}

}  // namespace
