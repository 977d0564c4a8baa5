// The real setup.exe's exit status for unattended deployment, run to its end:
// 0 when the installation ran, 3010 when a file in use waits for the next
// restart, 1602 when the user declined a question or cancelled the wizard.
// (Status 1 of a damaged package: tests/driver.)
#include <windows.h>

#include <string>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

constexpr DWORD kWindowWait = 15000;

class ExitStatus : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override { ASSERT_TRUE(CopyPackage()); }
};

TEST_F(ExitStatus, InstallationEndsWithZeroAndAFileInUseWithRestartRequired) {
  ASSERT_EQ(RunSetup("-s"), exitstatus::kDone);
  const std::string readme = DefaultInstalledFolder() + "\\" + names::kReadmeFile;
  ASSERT_TRUE(PathExists(readme));
  // Held without delete sharing: the file can be neither deleted nor renamed.
  {
    // Already the package's file: nothing to replace, nothing to restart for.
    UniqueHandle held = HoldOpen(readme, FILE_SHARE_READ);
    ASSERT_TRUE(held);
    EXPECT_EQ(RunSetup("-s"), exitstatus::kDone);
  }
  // A package with another readme: its copy waits for the restart.
  ASSERT_TRUE(WriteFileBytes(package_ + "\\" + names::kReadmeFile, "Lisez-moi, version suivante\r\n"));
  {
    UniqueHandle held = HoldOpen(readme, FILE_SHARE_READ);
    ASSERT_TRUE(held);
    EXPECT_EQ(RunSetup("-s"), exitstatus::kRestartRequired);
  }
  // The status belongs to the run: a later re-installation without a file in
  // use needs no restart of its own.
  EXPECT_EQ(RunSetup("-s"), exitstatus::kDone);
}

TEST_F(ExitStatus, DecliningTheSameVersionQuestionIsACancellation) {
  ASSERT_EQ(RunSetup("-s"), exitstatus::kDone);
  StartedProcess setup = StartSetup("");
  HWND box = ui::WaitForMessageBox(setup.id, kWindowWait);
  ASSERT_NE(box, nullptr) << "no string 17";
  EXPECT_NE(ui::MessageBoxText(box).find("est d\xe9j\xe0 install\xe9"), std::string::npos);
  ui::Press(box, IDNO);
  EXPECT_EQ(WaitForExit(setup, kProgramRunWait), exitstatus::kUserCancelled);
}

TEST_F(ExitStatus, CancellingTheWizardIsACancellation) {
  StartedProcess setup = StartSetup("");
  HWND frame = ui::WaitForDialog(setup.id, kWindowWait);
  ASSERT_NE(frame, nullptr) << "no wizard";
  ui::Press(frame, IDCANCEL);
  HWND question = ui::WaitForMessageBox(setup.id, kWindowWait);
  ASSERT_NE(question, nullptr) << "no cancel question";
  EXPECT_EQ(ui::MessageBoxText(question), LoadStringResource(IDS_CONFIRM_CANCEL));
  ui::Press(question, IDYES);
  EXPECT_EQ(WaitForExit(setup, kProgramRunWait), exitstatus::kUserCancelled);
  EXPECT_FALSE(PathExists(DefaultInstalledFolder()));
}

}  // namespace
