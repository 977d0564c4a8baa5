// The real setup.exe, copied under various names, started under Wine on the
// test's display; its message boxes are read and answered by the UI driver.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/handle.h"
#include "common/string_table.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

constexpr DWORD kBoxWait = 15000;

class EntryEndToEnd : public testing::Test, protected PackageRun {
 protected:
  // Copies setup.exe into the test folder under `name`.
  std::string Program(const std::string& name) {
    std::string path = root_ / name;
    EXPECT_TRUE(CopySetupTo(path)) << path;
    return path;
  }

  // Starts the program in the test folder; `arguments` follow the quoted path.
  bool Start(const std::string& path, const std::string& arguments) {
    started_ = PackageRun::Start(path, arguments);
    processId_ = started_.id;
    return static_cast<bool>(started_);
  }

  // Waits for the process to end; its exit status, or -1 on time-out.
  long Finish(DWORD timeoutMs = 20000) { return WaitForExit(started_, timeoutMs); }

  StartedProcess started_;
  DWORD processId_ = 0;
};

TEST_F(EntryEndToEnd, UninstallModeAsksStringSixAndEndsOnNo) {
  // Install.exe runs as the uninstaller; so does "-delself" without a path
  // and "-DELSELF" (compared exactly).
  const char* const cases[][2] = {{"Install.exe", ""}, {"OrvUnInst.exe", "-delself"}, {"Install.exe", "-DELSELF x"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c[0]) + " " + c[1]);
    ASSERT_TRUE(Start(Program(c[0]), c[1]));
    HWND box = ui::WaitForDialog(processId_, kBoxWait);
    ASSERT_NE(box, nullptr) << "no confirmation shown";
    EXPECT_EQ(ui::Text(box), "Orvelle - Installation");
    EXPECT_EQ(ui::MessageBoxText(box), LoadStringResource(IDS_CONFIRM_UNINSTALL));
    EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDYES, IDNO}));
    ui::Press(box, IDNO);
    EXPECT_EQ(Finish(), 1602) << "a declined confirmation is the user's cancellation";
  }
}

TEST_F(EntryEndToEnd, SilentUninstallerAsksNothing) {
  ASSERT_TRUE(Start(Program("OrvUnInst.exe"), "-s"));
  EXPECT_NE(Finish(), -1);
  EXPECT_EQ(ui::WaitForDialog(processId_, 0), nullptr);
}

TEST_F(EntryEndToEnd, SetupNamesNeverAskTheUninstallConfirmation) {
  const char* const cases[][2] = {{"setup.exe", ""}, {"MySetup.exe", ""}, {"Install.exe", "-install"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c[0]) + " " + c[1]);
    ASSERT_TRUE(Start(Program(c[0]), c[1]));
    // Setup mode may show its own windows; string 6 is never among them.
    while (HWND window = ui::WaitForDialog(processId_, 3000)) {
      EXPECT_NE(ui::MessageBoxText(window), LoadStringResource(IDS_CONFIRM_UNINSTALL));
      PostMessageA(window, WM_CLOSE, 0, 0);
      ui::WaitForClose(window, 5000);
    }
    EXPECT_NE(Finish(), -1);
  }
}

TEST_F(EntryEndToEnd, SelfRemovalCopyDeletesTheUninstallerAndSaysSo) {
  std::string installed = root_ / "Orvelle 6";
  ASSERT_TRUE(CreateDirectoryA(installed.c_str(), nullptr));
  std::string uninstaller = installed + "\\OrvUnInst.exe";
  ASSERT_TRUE(WriteFileBytes(uninstaller, "stand-in"));

  ASSERT_TRUE(Start(Program("uni1.tmp"), "-delself \"" + uninstaller + "\""));
  HWND box = ui::WaitForDialog(processId_, kBoxWait);
  ASSERT_NE(box, nullptr) << "no closing message";
  EXPECT_FALSE(PathExists(uninstaller)) << "the uninstaller goes before the closing message";
  EXPECT_EQ(ui::Text(box), "Orvelle - Installation");
  EXPECT_EQ(ui::MessageBoxText(box), LoadStringResource(IDS_UNINSTALLED));
  EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDOK}));
  ui::Press(box, IDOK);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(EntryEndToEnd, SilentSelfRemovalCopyShowsNothing) {
  std::string uninstaller = root_ / "OrvUnInst.exe";
  ASSERT_TRUE(WriteFileBytes(uninstaller, "stand-in"));
  ASSERT_TRUE(Start(Program("uni2.tmp"), "-delself \"" + uninstaller + "\" -s"));
  EXPECT_EQ(Finish(), 0);
  EXPECT_FALSE(PathExists(uninstaller));
}

TEST_F(EntryEndToEnd, SelfRemovalCopyLeavesABareNameAlone) {
  // A bare name has no installed folder: the current folder must not be
  // taken for one, and nothing is deleted. The removal asked for did not
  // happen: a failure.
  ASSERT_TRUE(WriteFileBytes(root_ / "OrvUnInst.exe", "stand-in"));
  ASSERT_TRUE(Start(Program("uni3.tmp"), "-delself OrvUnInst.exe -s"));
  EXPECT_EQ(Finish(), exitstatus::kFailed);
  EXPECT_TRUE(PathExists(root_ / "OrvUnInst.exe"));
}

}  // namespace
