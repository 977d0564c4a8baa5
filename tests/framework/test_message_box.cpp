#include "framework/message_box.h"

#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/message_box_script.h"

namespace {

struct StyleCase { UINT asked, shown; };

TEST(AppMessageBox, AddsTheApplicationTitleAndADefaultIconByButtons) {
  const StyleCase cases[] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
      {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
      {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
      {MB_OK | MB_ICONERROR, MB_OK | MB_ICONERROR},  // an icon asked for is kept
      {MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2},
  };
  for (const StyleCase& c : cases) {
    MessageBoxScript boxes({IDYES});
    EXPECT_EQ(AppMessageBox("texte", c.asked), IDYES);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(IsBox(boxes.Shown()[0], "texte", c.shown)) << std::hex << c.asked;
  }
}

TEST(AppMessageBox, TakesItsTextFromTheStringTableByNumber) {
  MessageBoxScript boxes({IDOK});
  AppMessageBox(IDS_UNINSTALLED);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Orvelle 6 a \xe9t\xe9 compl\xe8tement d\xe9sinstall\xe9 de cet ordinateur.");
  EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST(AppMessageBox, IsOwnedByTheMainWindowOnlyWhileItExists) {
  MessageBoxScript boxes;
  SetAppMainWindow(reinterpret_cast<HWND>(0x1234));  // no such window
  AppMessageBox("a");
  SetAppMainWindow(GetDesktopWindow());
  AppMessageBox("b");
  SetAppMainWindow(nullptr);
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[0].owner, nullptr);
  EXPECT_EQ(boxes.Shown()[1].owner, GetDesktopWindow());
}

}  // namespace
