// The real setup.exe of the sample package, started under Wine over an
// earlier installation registered in the prefix's registry, and the
// application stand-in it starts. Boxes are read and answered through the
// UI driver; pages go to a recorder registered as the browser.
#include <windows.h>

#include <string>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"
#include "vendor_config.h"

namespace {

constexpr DWORD kBoxWait = 15000;
constexpr DWORD kProcessWait = 20000;
constexpr char kAppWindowTitle[] = "Orvelle 6";

// The visible top-level window titled "Orvelle 6", waiting for it.
HWND WaitForApplicationWindow(DWORD timeoutMs) {
  HWND window = nullptr;
  const bool shown = WaitUntil(
      [&] {
        window = FindWindowA(nullptr, kAppWindowTitle);
        return window && IsWindowVisible(window);
      },
      timeoutMs);
  return shown ? window : nullptr;
}

std::string ImageOfWindow(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!process || !QueryFullProcessImageNameA(process.get(), 0, path, &size)) return std::string();
  return std::string(path, size);
}

class SetupEndToEnd : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyPackage());
    ASSERT_TRUE(PathExists(SetupIn(package_)));
    ASSERT_TRUE(browser_.RegisterAsWebBrowser());
  }
  // An earlier installation of `version`, registered for the current user.
  void Earlier(const std::string& version) {
    ASSERT_TRUE(MakeFolders(installed_));
    ASSERT_TRUE(PlaceStandIn(version, installed_));
    RegisterEarlierInstallation(installed_, names::kAllUsersNo);
  }
  bool StartSetup(const std::string& arguments) {
    setup_ = PackageRun::StartSetup(arguments);
    return static_cast<bool>(setup_);
  }
  long FinishSetup() { return WaitForExit(setup_, kProcessWait); }

  std::string installed_ = root_ / "Apps\\Orvelle 6";
  Recorder browser_{root_ / "browser", "browser.exe"};
  StartedProcess setup_;
};

TEST(AppStandInTest, OpensItsWindowAndEndsOnClose) {
  StartedProcess app = StartProgram(StandInPath("6.1.2.3"), "", ProgramFolder());
  ASSERT_TRUE(app);
  HWND window = WaitForApplicationWindow(kBoxWait);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 1001, 0);
  EXPECT_EQ(WaitForExit(app, kProcessWait), 0);
}

TEST_F(SetupEndToEnd, SilentOverAnOlderInstallationStartsTheApplication) {
  Earlier("6.1.0.0");
  ASSERT_TRUE(StartSetup("-s -runafter"));
  EXPECT_EQ(FinishSetup(), 0);
  EXPECT_EQ(ui::WaitForDialog(setup_.id, 0), nullptr);

  HWND window = WaitForApplicationWindow(kBoxWait);
  ASSERT_NE(window, nullptr) << "the application was not started";
  EXPECT_EQ(ImageOfWindow(window), installed_ + "\\OrvPix6.exe");
  PostMessageA(window, WM_CLOSE, 1001, 0);
  EXPECT_TRUE(browser_.StartsSoFar().empty()) << "no page in a silent run";
}

TEST_F(SetupEndToEnd, OlderPackageAsksStringSixteenAndStopsOnNo) {
  Earlier("6.2.0.0");
  ASSERT_TRUE(StartSetup("-runafter"));
  HWND box = ui::WaitForDialog(setup_.id, kBoxWait);
  ASSERT_NE(box, nullptr) << "no question shown";
  EXPECT_EQ(ui::Text(box), "Orvelle - Installation");
  const std::string text = ui::MessageBoxText(box);
  EXPECT_NE(text.find("Orvelle v. 6.02.00.00 est d\xe9j\xe0 install\xe9"), std::string::npos) << text;
  EXPECT_NE(text.find("plus ancienne 6.01.02.03 ."), std::string::npos) << text;
  EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDYES, IDNO}));
  ui::Press(box, IDNO);
  EXPECT_EQ(FinishSetup(), 1602) << "a declined question is the user's cancellation";
  EXPECT_TRUE(browser_.StartsSoFar().empty());
  EXPECT_EQ(FindWindowA(nullptr, kAppWindowTitle), nullptr);
}

TEST_F(SetupEndToEnd, DamagedPackageEndsWithStatusOneAfterStringEighteenUnlessSilent) {
  const char* const cases[] = {"major 0", "no install script"};
  for (const char* damage : cases) {
    SCOPED_TRACE(damage);
    if (std::string(damage) == "major 0")
      ASSERT_TRUE(PlaceStandIn("0.5.0.0", package_));
    else
      ASSERT_TRUE(DeleteFileA((package_ + "\\OrvUnInst.log").c_str()));
    browser_.Clear();
    ASSERT_TRUE(StartSetup(""));
    HWND box = ui::WaitForDialog(setup_.id, kBoxWait);
    ASSERT_NE(box, nullptr) << "no message shown";
    EXPECT_EQ(ui::Text(box), "Orvelle - Installation");
    EXPECT_EQ(ui::MessageBoxText(box), LoadStringResource(IDS_DAMAGED_PACKAGE));
    EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDOK}));
    ui::Press(box, IDOK);
    EXPECT_EQ(FinishSetup(), 1);
    const std::vector<RecordedStart> pages = browser_.WaitForStarts(1);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].args, std::vector<std::string>{ORVELLE_HOME_PAGE});

    // Silent: nobody would press the box; the status alone tells.
    browser_.Clear();
    ASSERT_TRUE(StartSetup("-install -s"));
    while (WaitForSingleObject(setup_.process.get(), 20) == WAIT_TIMEOUT)
      ASSERT_EQ(ui::FindDialog(setup_.id), nullptr) << "a silent run shows a box";
    EXPECT_EQ(FinishSetup(), 1);
    EXPECT_TRUE(browser_.StartsSoFar().empty()) << "no page in a silent run";
  }
}

}  // namespace
