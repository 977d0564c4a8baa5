// The real setup.exe and uninstaller run as deployment tools and users run
// them, several at once: one run at a time, a removal that can be waited on
// ("-wait"), and an uninstaller outside the installed folder that removes
// nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "security/security_fixture.h"
#include "startup/exit_status.h"
#include "support/processes.h"
#include "support/test_folders.h"
#include "ui_driver.h"
#include "uninstall/installed_state.h"

namespace {

constexpr DWORD kBoxWait = 15000;
constexpr DWORD kRunWait = 60000;

class OneRunAtATime : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CopyTree(SamplePackageFolder(), package_)); }

  StartedProcess Start(const std::string& program, const std::string& arguments) {
    return StartProgram(program, arguments, root_.Path());
  }
  StartedProcess StartSetup(const std::string& arguments) { return Start(package_ + "\\setup.exe", arguments); }
  std::string Uninstaller() const { return installed_ + "\\" + names::kUninstallerExe; }

  // The silent installation deployment tools make.
  void Install() {
    StartedProcess setup = StartSetup("-install -s");
    ASSERT_EQ(WaitForExit(setup, kRunWait), exitstatus::kDone);
  }

  // The installation's registration, files and program group are all there.
  void ExpectInstalled() const {
    EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), installed_);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
    for (const char* file : {names::kApplicationExe, names::kUninstallerExe, names::kUninstallLog})
      EXPECT_TRUE(PathExists(installed_ + "\\" + file)) << file;
    EXPECT_TRUE(PathExists(Group()));
  }
  std::string Group() const {
    return ShellFolder(HKEY_LOCAL_MACHINE, names::kCommonProgramsValue) + "\\" + names::kProductName;
  }

  // Answers the run's first message box with `button`.
  static void Answer(StartedProcess& run, int button) {
    HWND box = ui::WaitForMessageBox(run.id, kBoxWait);
    ASSERT_NE(box, nullptr) << "no question";
    ui::Press(box, button);
  }

  // Shows string 25 with the program's caption and OK, and ends with 1618
  // once it is pressed.
  static void ExpectRunInProgressBox(StartedProcess& run) {
    HWND box = ui::WaitForMessageBox(run.id, kBoxWait);
    ASSERT_NE(box, nullptr) << "no string 25";
    EXPECT_EQ(ui::MessageBoxText(box), LoadStringResource(IDS_RUN_IN_PROGRESS));
    EXPECT_EQ(ui::Text(box), LoadStringResource(IDS_WINDOW_TITLE));
    EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDOK}));
    ui::Press(box, IDOK);
    EXPECT_EQ(WaitForExit(run, kRunWait), exitstatus::kRunInProgress);
  }

  TestFolder root_;
  const std::string package_ = root_ / "Orvelle 6 package";
  const std::string installed_ = DefaultInstalledFolder();
};

// A wizard is open; a second setup and an uninstaller started by hand say
// so and leave; a silent setup waits for the wizard to end, then installs,
// and its closing pass leaves alone a setup that still shows string 25 (its
// box is titled like the application).
TEST_F(OneRunAtATime, ASecondRunWaitsOrSaysSoAndClosesNothing) {
  StartedProcess wizard = StartSetup("");
  HWND frame = ui::WaitForDialog(wizard.id, kBoxWait);
  ASSERT_NE(frame, nullptr) << "no wizard";

  StartedProcess second = StartSetup("");
  ASSERT_NE(ui::WaitForMessageBox(second.id, kBoxWait), nullptr);
  {
    const std::string lost = root_ / "Orvelle 6";  // an installation whose registration was lost
    ASSERT_TRUE(MakeFolders(lost));
    const std::string uninstaller = lost + "\\" + names::kUninstallerExe;
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\setup.exe").c_str(), uninstaller.c_str(), FALSE));
    StartedProcess removal = Start(uninstaller, "");
    ExpectRunInProgressBox(removal);
    EXPECT_TRUE(PathExists(uninstaller)) << "the uninstaller's copy ran beside the wizard";
  }

  StartedProcess silent = StartSetup("-install -s");
  Sleep(2000);
  EXPECT_EQ(WaitForSingleObject(silent.handle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "did not wait";
  EXPECT_TRUE(IsWindow(frame)) << "the wizard was closed";
  EXPECT_FALSE(PathExists(installed_)) << "the silent run installed beside the wizard";

  ui::Press(frame, IDCANCEL);
  Answer(wizard, IDYES);
  EXPECT_EQ(WaitForExit(wizard, kRunWait), exitstatus::kUserCancelled);

  EXPECT_EQ(WaitForExit(silent, kRunWait), exitstatus::kDone);
  ExpectInstalled();
  ExpectRunInProgressBox(second);  // still there: not taken for the application
}

// Deployment tools run the next step as soon as the uninstaller returns: a
// setup started then waits for the removal to end, and its installation is
// whole once the temporary copy is gone.
TEST_F(OneRunAtATime, ASetupRightAfterTheSilentRemovalInstallsAfterIt) {
  Install();
  StartedProcess removal = Start(Uninstaller(), "-s");
  ASSERT_EQ(WaitForExit(removal, kRunWait), exitstatus::kDone);
  StartedProcess setup = StartSetup("-install -s");
  EXPECT_EQ(WaitForExit(setup, kRunWait), exitstatus::kDone);
  WaitForTemporaryCopies(2000);  // a copy still at work would remove the new installation meanwhile
  ExpectInstalled();
}

// A silent run gives up after a minute, having changed nothing.
TEST_F(OneRunAtATime, ASilentRunGivesUpAfterAMinute) {
  UniqueHandle guard(CreateEventA(nullptr, TRUE, FALSE, names::kRunGuardName));  // another run holds it
  ASSERT_TRUE(guard);
  const DWORD begin = GetTickCount();
  StartedProcess setup = StartSetup("-install -s");
  EXPECT_EQ(WaitForExit(setup, 2 * kRunWait), exitstatus::kRunInProgress);
  EXPECT_GE(GetTickCount() - begin, 59000u);
  EXPECT_FALSE(PathExists(installed_));
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), kMissing);
}

// "-wait": the uninstaller returns once the removal has ended, with its
// status.
TEST_F(OneRunAtATime, TheUninstallerWithWaitReturnsOnceTheRemovalHasEnded) {
  Install();
  {
    SCOPED_TRACE("declined");
    StartedProcess removal = Start(Uninstaller(), "-wait");
    Answer(removal, IDNO);
    EXPECT_EQ(WaitForExit(removal, kRunWait), exitstatus::kUserCancelled);
  }
  {
    SCOPED_TRACE("no copy can be made");
    char saved[MAX_PATH];
    ASSERT_NE(GetEnvironmentVariableA("TMP", saved, sizeof saved), 0u);
    const std::string missing = root_ / "missing";
    SetEnvironmentVariableA("TMP", missing.c_str());  // the uninstaller inherits the environment
    StartedProcess removal = Start(Uninstaller(), "-s -WAIT");
    EXPECT_EQ(WaitForExit(removal, kRunWait), exitstatus::kFailed);
    SetEnvironmentVariableA("TMP", saved);
  }
  ExpectInstalled();
  {
    SCOPED_TRACE("removed, after the closing message");
    StartedProcess removal = Start(Uninstaller(), "-wait");
    Answer(removal, IDYES);
    StartedProcess copy = WaitForTemporaryCopyOf(removal.id, kBoxWait);
    ASSERT_TRUE(copy) << "no temporary copy was started";
    HWND closing = ui::WaitForMessageBox(copy.id, 3 * kBoxWait);
    ASSERT_NE(closing, nullptr) << "no closing message";
    EXPECT_EQ(ui::MessageBoxText(closing), LoadStringResource(IDS_UNINSTALLED));
    EXPECT_EQ(WaitForSingleObject(removal.handle.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT))
        << "returned before the closing message was answered";
    ui::Press(closing, IDOK);
    EXPECT_EQ(WaitForExit(removal, kRunWait), exitstatus::kDone);
  }
  // Gone when it returns: only the uninstaller's file and the folder follow.
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), kMissing);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
  EXPECT_FALSE(PathExists(Group()));
  for (const std::string& left : TreeOf(installed_)) EXPECT_EQ(left, names::kUninstallerExe);
  EXPECT_TRUE(ui::WaitUntil([&] { return !PathExists(installed_); }, 5000)) << "the folder stays";
}

// The package ships an OrvUnInst.exe: started there, it removes nothing,
// whether or not an installation is registered.
TEST_F(OneRunAtATime, ThePackagesOwnUninstallerRemovesNothing) {
  const std::string uninstaller = package_ + "\\" + names::kUninstallerExe;
  ASSERT_TRUE(PathExists(uninstaller));
  const std::vector<std::string> package = TreeOf(package_);
  {
    SCOPED_TRACE("nothing registered, silent");
    StartedProcess removal = Start(uninstaller, "-s");
    EXPECT_EQ(WaitForExit(removal, kRunWait), exitstatus::kFailed);
    EXPECT_EQ(ui::FindDialog(removal.id), nullptr);
  }
  Install();
  {
    SCOPED_TRACE("another folder registered");
    StartedProcess removal = Start(uninstaller, "-wait");
    HWND box = ui::WaitForMessageBox(removal.id, kBoxWait);
    ASSERT_NE(box, nullptr) << "no string 26";
    EXPECT_EQ(ui::MessageBoxText(box), LoadStringResource(IDS_NOT_INSTALLED_FOLDER));
    EXPECT_EQ(ui::ButtonIds(box), (std::vector<int>{IDOK}));
    ui::Press(box, IDOK);
    EXPECT_EQ(WaitForExit(removal, kRunWait), exitstatus::kFailed);
  }
  EXPECT_TRUE(WaitForTemporaryCopies(2000).empty()) << "a temporary copy ran";
  EXPECT_EQ(TreeOf(package_), package);
  ExpectInstalled();
}

}  // namespace
