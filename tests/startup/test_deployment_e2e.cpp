// The real setup.exe and uninstaller run as deployment tools and users run
// them, several at once: one run at a time, a removal that can be waited on
// ("-wait") and what it leaves for the restart, and an uninstaller outside
// the installed folder that removes nothing.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "common/text.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/installed_state.h"
#include "support/pending_operations.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

constexpr DWORD kBoxWait = 15000;

class Deployment : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override { ASSERT_TRUE(CopyPackage()); }
  std::string Uninstaller() const { return UninstallerIn(installed_); }

  // The silent installation deployment tools make.
  void Install() { ASSERT_EQ(RunSetup("-install -s"), exitstatus::kDone); }

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

  // Runs the entry's QuietUninstallString as package managers do, the whole
  // text as the command line: its status once it has returned.
  long RunQuietUninstallString() const {
    std::string command = ValueOf(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "QuietUninstallString");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, root_.Path().c_str(), &startup,
                        &info))
      return -1;
    StartedProcess removal;
    removal.process.reset(info.hProcess);
    removal.thread.reset(info.hThread);
    removal.id = info.dwProcessId;
    return WaitForExit(removal, kProgramRunWait);
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
    EXPECT_EQ(WaitForExit(run, kProgramRunWait), exitstatus::kRunInProgress);
  }

  const std::string installed_ = DefaultInstalledFolder();
};

// A wizard is open; a second setup and an uninstaller started by hand say
// so and leave; a silent setup waits for the wizard to end, then installs,
// and its closing pass leaves alone a setup that still shows string 25 (its
// box is titled like the application).
TEST_F(Deployment, ASecondRunWaitsOrSaysSoAndClosesNothing) {
  StartedProcess wizard = StartSetup("");
  HWND frame = ui::WaitForDialog(wizard.id, kBoxWait);
  ASSERT_NE(frame, nullptr) << "no wizard";

  StartedProcess second = StartSetup("");
  ASSERT_NE(ui::WaitForMessageBox(second.id, kBoxWait), nullptr);
  {
    const std::string lost = root_ / "Orvelle 6";  // an installation whose registration was lost
    ASSERT_TRUE(MakeFolders(lost));
    const std::string uninstaller = UninstallerIn(lost);
    ASSERT_TRUE(CopySetupTo(uninstaller));
    StartedProcess removal = Start(uninstaller, "");
    ExpectRunInProgressBox(removal);
    EXPECT_TRUE(PathExists(uninstaller)) << "the uninstaller's copy ran beside the wizard";
  }

  StartedProcess silent = StartSetup("-install -s");
  Sleep(2000);
  EXPECT_EQ(WaitForSingleObject(silent.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "did not wait";
  EXPECT_TRUE(IsWindow(frame)) << "the wizard was closed";
  EXPECT_FALSE(PathExists(installed_)) << "the silent run installed beside the wizard";

  ui::Press(frame, IDCANCEL);
  Answer(wizard, IDYES);
  EXPECT_EQ(WaitForExit(wizard, kProgramRunWait), exitstatus::kUserCancelled);

  EXPECT_EQ(WaitForExit(silent, kProgramRunWait), exitstatus::kDone);
  ExpectInstalled();
  ExpectRunInProgressBox(second);  // still there: not taken for the application
}

// Deployment tools run the next step as soon as the uninstaller returns: a
// setup started then waits for the removal to end, and its installation is
// whole once the temporary copy is gone.
TEST_F(Deployment, ASetupRightAfterTheSilentRemovalInstallsAfterIt) {
  Install();
  ASSERT_EQ(RunProgram(Uninstaller(), "-s"), exitstatus::kDone);
  EXPECT_EQ(RunSetup("-install -s"), exitstatus::kDone);
  WaitForTemporaryCopies(2000);  // a copy still at work would remove the new installation meanwhile
  ExpectInstalled();
}

// A silent run gives up after a minute, having changed nothing.
TEST_F(Deployment, ASilentRunGivesUpAfterAMinute) {
  UniqueHandle guard(CreateEventA(nullptr, TRUE, FALSE, names::kRunGuardName));  // another run holds it
  ASSERT_TRUE(guard);
  const DWORD begin = GetTickCount();
  StartedProcess setup = StartSetup("-install -s");
  EXPECT_EQ(WaitForExit(setup, 2 * kProgramRunWait), exitstatus::kRunInProgress);
  EXPECT_GE(GetTickCount() - begin, 59000u);
  EXPECT_FALSE(PathExists(installed_));
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), kMissing);
}

// "-wait": the uninstaller returns once the removal has ended, with its
// status.
TEST_F(Deployment, TheUninstallerWithWaitReturnsOnceTheRemovalHasEnded) {
  Install();
  {
    SCOPED_TRACE("declined");
    StartedProcess removal = Start(Uninstaller(), "-wait");
    Answer(removal, IDNO);
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), exitstatus::kUserCancelled);
  }
  {
    SCOPED_TRACE("no copy can be made");
    char saved[MAX_PATH];
    ASSERT_NE(GetEnvironmentVariableA("TMP", saved, sizeof saved), 0u);
    const std::string missing = root_ / "missing";
    SetEnvironmentVariableA("TMP", missing.c_str());  // the uninstaller inherits the environment
    EXPECT_EQ(RunProgram(Uninstaller(), "-s -WAIT"), exitstatus::kFailed);
    SetEnvironmentVariableA("TMP", saved);
  }
  ExpectInstalled();
  UniqueHandle held;  // keeps the uninstaller's file, and so the folder, until the checks below are made
  {
    SCOPED_TRACE("removed, after the closing message");
    StartedProcess removal = Start(Uninstaller(), "-wait");
    Answer(removal, IDYES);
    StartedProcess copy = WaitForTemporaryCopyOf(removal.id, kBoxWait);
    ASSERT_TRUE(copy) << "no temporary copy was started";
    HWND closing = ui::WaitForMessageBox(copy.id, 3 * kBoxWait);
    ASSERT_NE(closing, nullptr) << "no closing message";
    EXPECT_EQ(ui::MessageBoxText(closing), LoadStringResource(IDS_UNINSTALLED));
    EXPECT_EQ(WaitForSingleObject(removal.process.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT))
        << "returned before the closing message was answered";
    held = HoldOpen(Uninstaller(), FILE_SHARE_READ);
    ASSERT_TRUE(held);
    ui::Press(closing, IDOK);
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), exitstatus::kDone);
  }
  // Gone when it returns: only the uninstaller's file and the folder follow,
  // and their deletions wait for the restart should the copy not get to them.
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), kMissing);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
  EXPECT_FALSE(PathExists(Group()));
  for (const std::string& left : TreeOf(installed_)) EXPECT_EQ(left, names::kUninstallerExe);
  const std::vector<PendingOperation> pending = PendingOperations();
  for (const std::string& queued : {Uninstaller(), installed_}) {
    const PendingOperation deletion{SystemListPath(queued), ""};
    EXPECT_NE(std::find(pending.begin(), pending.end(), deletion), pending.end()) << queued << " is not queued";
  }
  held.reset();
  // They follow as soon as the uninstaller has ended and its file is free
  // (the folder even while the check above was reading it).
  EXPECT_TRUE(ui::WaitUntil([&] { return !PathExists(installed_); }, 20000)) << "the folder stays";
  // Once the copy has ended, only its own deletion waits for the restart.
  WaitForTemporaryCopies(20000);
  const std::vector<PendingOperation> left = PendingOperations();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(IsTemporaryCopyName(NamePart(left[0].source))) << left[0].source;
  EXPECT_EQ(left[0].target, "");
}

// A removal leaves a file in use for the restart; an installation before
// that restart puts the file back, and the restart keeps it: everything
// installed is there after it, and the product is registered.
TEST_F(Deployment, AnInstallationBeforeTheRestartKeepsWhatItInstalled) {
  Install();
  const std::vector<std::string> installed = TreeOf(installed_);
  {
    UniqueHandle held = HoldOpen(installed_ + "\\" + names::kReadmeFile, FILE_SHARE_READ);
    ASSERT_TRUE(held);
    // As package managers remove it: silent, and over when it returns.
    ASSERT_EQ(RunQuietUninstallString(), exitstatus::kRestartRequired);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
    EXPECT_FALSE(PathExists(Group()));
    for (const std::string& left : TreeOf(installed_))
      EXPECT_TRUE(left == names::kReadmeFile || left == names::kUninstallerExe) << left;
    WaitForTemporaryCopies(20000);
  }
  EXPECT_EQ(RunSetup("-install -s"), exitstatus::kDone);
  ASSERT_TRUE(RestartPrefix());
  EXPECT_TRUE(PendingOperations().empty()) << "the restart did not carry out the list as rewritten";
  EXPECT_EQ(TreeOf(installed_), installed);
  ExpectInstalled();
}

// What the removal could not delete is queued for the restart (3010, string
// 28 in place of string 20); a user's own file keeps the folder without any
// failure, as it always has.
TEST_F(Deployment, WhatTheRemovalLeavesGoesAtTheRestart) {
  struct Case {
    const char* what;
    bool held;  // the readme held open without delete sharing, else a user's file
    const char* arguments;
    long status;
  };
  const Case cases[] = {
      {"a user's own file", false, "-s -wait", exitstatus::kDone},
      {"a held file, silent", true, "-s -wait", exitstatus::kRestartRequired},
      {"a held file, with the closing message", true, "-wait", exitstatus::kRestartRequired},
  };
  const std::string readme = installed_ + "\\" + names::kReadmeFile;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Install();
    UniqueHandle held;
    if (c.held) {
      held = HoldOpen(readme, FILE_SHARE_READ);
      ASSERT_TRUE(held);
    } else {
      ASSERT_TRUE(WriteFileBytes(installed_ + "\\notes.txt", "mine"));
    }
    StartedProcess removal = Start(Uninstaller(), c.arguments);
    if (std::string(c.arguments).find("-s") == std::string::npos) {
      Answer(removal, IDYES);
      StartedProcess copy = WaitForTemporaryCopyOf(removal.id, kBoxWait);
      ASSERT_TRUE(copy);
      HWND closing = ui::WaitForMessageBox(copy.id, 3 * kBoxWait);
      ASSERT_NE(closing, nullptr) << "no closing message";
      std::string expected = LoadStringResource(IDS_UNINSTALLED_BUT);
      expected.replace(expected.find("%s"), 2, installed_);
      EXPECT_EQ(ui::MessageBoxText(closing), expected);
      ui::Press(closing, IDOK);
    }
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), c.status);
    WaitForTemporaryCopies(2000);
    if (!c.held) {
      EXPECT_EQ(TreeOf(installed_), std::vector<std::string>{"notes.txt"});
      RemoveTree(installed_);
      continue;
    }
    const std::vector<PendingOperation> pending = PendingOperations();
    for (const std::string& queued : {readme, installed_}) {
      const PendingOperation deletion{SystemListPath(queued), ""};
      EXPECT_NE(std::find(pending.begin(), pending.end(), deletion), pending.end()) << queued << " is not queued";
    }
    held.reset();
    ASSERT_TRUE(RestartPrefix());
    EXPECT_FALSE(PathExists(installed_)) << "the restart left the folder";
  }
}

// A relative "-instdir" is registered as the full path it names from the
// setup's current folder.
TEST_F(Deployment, ARelativeDestinationIsRegisteredAsAFullPath) {
  const std::string apps = root_ / "apps";
  ASSERT_TRUE(MakeFolders(apps));
  ASSERT_EQ(RunSetup("-install -s -instdir apps"), exitstatus::kDone);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), apps);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "UninstallString"),
            "\"" + apps + "\\" + names::kUninstallerExe + "\"");
  EXPECT_TRUE(PathExists(apps + "\\" + names::kApplicationExe));
}

// "-instdir" naming a folder that does not exist yet: it is made with its
// missing levels and installed into; one that cannot be made ends the run
// with 1603 before anything is changed, and nothing goes elsewhere.
TEST_F(Deployment, AMissingDestinationIsMadeOrTheRunFailsChangingNothing) {
  const std::string file = root_ / "notes.txt";
  ASSERT_TRUE(WriteFileBytes(file, "mine"));
  struct Case {
    const char* what;
    std::string folder;
    long status;
  };
  const Case cases[] = {
      {"a file in the way", file + "\\Orvelle 6", exitstatus::kFailed},
      {"no such drive", "Q:\\Apps\\Orvelle 6", exitstatus::kFailed},
      {"a name the system refuses", root_ / "Nouveau\\a<b", exitstatus::kFailed},  // "Nouveau" goes again
      {"past the limit", root_ / std::string(kMaxPath, 'x'), exitstatus::kFailed},
      {"two levels deep", root_ / "Neuf\\Orvelle 6", exitstatus::kDone},
  };
  const std::vector<std::string> before = TreeOf(root_.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(RunSetup("-install -s -instdir \"" + c.folder + "\""), c.status);
    if (c.status == exitstatus::kDone) {
      EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), c.folder);
      EXPECT_TRUE(PathExists(c.folder + "\\" + names::kApplicationExe));
      continue;
    }
    EXPECT_EQ(TreeOf(root_.Path()), before);
    EXPECT_EQ(ReadFileBytes(file), "mine");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_FALSE(PathExists(installed_)) << "installed elsewhere";
  }
}

// An installation in a drive root stays the one that later runs repair: the
// root is registered with its backslash, whatever the run.
TEST_F(Deployment, ADriveRootInstallationStaysFindable) {
  ASSERT_EQ(RunSetup("-install -s -instdir C:\\"), exitstatus::kDone);
  for (const char* run : {"repair", "repair over a root registered as C:"}) {
    SCOPED_TRACE(run);
    ASSERT_EQ(RunSetup("-install -s"), exitstatus::kDone);
    EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), "C:\\");
    EXPECT_FALSE(PathExists(DefaultInstalledFolder())) << "a second copy went to Program Files";
    SetValue(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue, "C:");
  }
}

// The package ships an OrvUnInst.exe: started there, it removes nothing,
// whether or not an installation is registered.
TEST_F(Deployment, ThePackagesOwnUninstallerRemovesNothing) {
  const std::string uninstaller = UninstallerIn(package_);
  ASSERT_TRUE(PathExists(uninstaller));
  const std::vector<std::string> package = TreeOf(package_);
  {
    SCOPED_TRACE("nothing registered, silent");
    StartedProcess removal = Start(uninstaller, "-s");
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), exitstatus::kFailed);
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
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), exitstatus::kFailed);
  }
  {
    SCOPED_TRACE("the copy's switch aimed at the package, silent");
    const std::string line = std::string(names::kSelfRemovalSwitch) + " \"" + uninstaller + "\" -s";
    StartedProcess removal = StartSetup(line);
    EXPECT_EQ(WaitForExit(removal, kProgramRunWait), exitstatus::kFailed);
    EXPECT_EQ(ui::FindDialog(removal.id), nullptr);
    EXPECT_TRUE(PendingOperations().empty()) << "the package's setup.exe is queued for deletion";
  }
  EXPECT_TRUE(WaitForTemporaryCopies(2000).empty()) << "a temporary copy ran";
  EXPECT_EQ(TreeOf(package_), package);
  ExpectInstalled();
}

}  // namespace
