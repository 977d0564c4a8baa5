// A re-installation while installed files are in use: the application
// itself running from the installed folder, and files held open by another
// program. Nothing is lost: each file is the new one at once or after the
// next restart, and the removal afterwards leaves nothing behind.
#include <windows.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "support/pending_operations.h"
#include "support/package_run.h"
#include "system_snapshot.h"
#include "ui_driver.h"

namespace {

constexpr DWORD kWait = 20000;

class FilesInUse : public testing::Test, protected PackageRun {
 protected:
  FilesInUse() : PackageRun("orvinuse", "package 6.1") {}
  void SetUp() override {
    ASSERT_TRUE(CopyPackage());
    ASSERT_TRUE(CopyTree(SamplePackageFolder(), second_));
    // The second package: a later application and another readme.
    ASSERT_TRUE(PlaceStandIn("6.2.0.0", second_));
    ASSERT_TRUE(WriteFileBytes(second_ + "\\" + names::kReadmeFile, "readme of 6.2\r\n"));
    before_ = TakeSnapshot();
    ASSERT_EQ(RunSetup("-s"), 0);
    installed_ = InstalledFolder();
    ASSERT_TRUE(PathExists(installed_ + "\\" + names::kApplicationExe));
  }

  std::string Installed(const char* name) const { return installed_ + "\\" + name; }
  std::string Packaged(const char* name) const { return second_ + "\\" + name; }

  // After a restart, the removal leaves nothing of the installation.
  void ExpectRemovedWithoutResidue() {
    ASSERT_TRUE(RestartPrefix());
    ASSERT_TRUE(UninstallSilently(installed_));
    EXPECT_EQ(Residue(before_, TakeSnapshot()), std::vector<std::string>{});
  }

  const std::string second_ = root_ / "package 6.2";
  std::string installed_;
  SystemSnapshot before_;
};

TEST_F(FilesInUse, RunningApplicationIsClosedAndReplacedByTheNewVersion) {
  // The application runs from the installed folder, registered like the
  // real one; "/s" lets the silent setup close it without asking.
  StartedProcess application = Start(Installed(names::kApplicationExe), "", installed_);
  ASSERT_NE(ui::WaitForWindowTitled(application.id, "Orvelle 6", kWait), nullptr);

  ASSERT_EQ(RunProgram(SetupIn(second_), "-s /s"), 0);
  EXPECT_EQ(WaitForSingleObject(application.process.get(), kWait), WAIT_OBJECT_0) << "the application was not closed";
  EXPECT_EQ(ReadFileBytes(Installed(names::kApplicationExe)), ReadFileBytes(Packaged(names::kApplicationExe)));
  // Closed before the copy: no side name was needed.
  EXPECT_FALSE(PathExists(Installed("OrvPix6.exe.old")));
  EXPECT_EQ(PendingDeletions(), std::vector<std::string>{});
  ExpectRemovedWithoutResidue();
}

TEST_F(FilesInUse, FileHeldOpenWithoutSharingWaitsAsNewForTheRestart) {
  const std::string readme = Installed(names::kReadmeFile);
  const std::string earlier = ReadFileBytes(readme);
  {
    UniqueHandle held = HoldOpen(readme, FILE_SHARE_READ);
    // The setup's status for "installed, restart required".
    ASSERT_EQ(RunProgram(SetupIn(second_), "-s"), 3010);
    // Neither deleted nor renamed: the old file stays until the restart, the
    // new one waits beside it; the rest is installed.
    EXPECT_EQ(ReadFileBytes(readme), earlier);
    EXPECT_EQ(ReadFileBytes(readme + ".new"), ReadFileBytes(Packaged(names::kReadmeFile)));
    EXPECT_EQ(ReadFileBytes(Installed(names::kApplicationExe)), ReadFileBytes(Packaged(names::kApplicationExe)));
    const std::vector<PendingOperation> expected = {{SystemListPath(readme), ""},
                                                    {SystemListPath(readme + ".new"), SystemListPath(readme)}};
    EXPECT_EQ(PendingOperations(), expected);
  }
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(readme), ReadFileBytes(Packaged(names::kReadmeFile)));
  EXPECT_FALSE(PathExists(readme + ".new"));
  ExpectRemovedWithoutResidue();
}

TEST_F(FilesInUse, AReplacementWaitingForTheRestartIsNotConsumedByALaterInstallation) {
  const std::string readme = Installed(names::kReadmeFile);
  {
    UniqueHandle held = HoldOpen(readme, FILE_SHARE_READ);
    ASSERT_EQ(RunProgram(SetupIn(second_), "-s"), 3010);
  }
  // Before the restart, a newer package over the free file: the restart will
  // delete whatever stands in the readme's place and rename the waiting copy
  // into it, so that copy is renewed with the newest readme, which is also
  // placed at once. Nothing more needs the restart.
  const std::string third = root_ / "package 6.3";
  ASSERT_TRUE(CopyTree(second_, third));
  const std::string newest = third + "\\" + names::kReadmeFile;
  ASSERT_TRUE(WriteFileBytes(newest, "readme of 6.3\r\n"));
  EXPECT_EQ(RunProgram(SetupIn(third), "-s"), 0);
  EXPECT_EQ(ReadFileBytes(readme), ReadFileBytes(newest));
  EXPECT_EQ(ReadFileBytes(readme + ".new"), ReadFileBytes(newest)) << "the waiting copy was lost or kept the older file";
  EXPECT_FALSE(PathExists(readme + ".new2"));
  const std::vector<PendingOperation> expected = {{SystemListPath(readme), ""},
                                                  {SystemListPath(readme + ".new"), SystemListPath(readme)}};
  EXPECT_EQ(PendingOperations(), expected);
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(readme), ReadFileBytes(newest));
  EXPECT_FALSE(PathExists(readme + ".new"));
  RemoveTree(third);  // made after the first snapshot
  ExpectRemovedWithoutResidue();
}

TEST_F(FilesInUse, FileHeldOpenWithDeleteSharingIsNotLost) {
  // Like a viewer or a scanner that opened the file with delete sharing: its
  // deletion goes through, yet the name stays taken until the file is
  // closed, and then the file is gone. The replacement waits beside it.
  const std::string readme = Installed(names::kReadmeFile);
  {
    UniqueHandle held = HoldOpen(readme, FILE_SHARE_READ | FILE_SHARE_DELETE);
    EXPECT_EQ(RunProgram(SetupIn(second_), "-s"), 3010);
    EXPECT_EQ(ReadFileBytes(Installed(names::kApplicationExe)), ReadFileBytes(Packaged(names::kApplicationExe)));
  }
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(readme), ReadFileBytes(Packaged(names::kReadmeFile)));
  EXPECT_FALSE(PathExists(readme + ".new"));
  EXPECT_FALSE(PathExists(readme + ".old"));
  ExpectRemovedWithoutResidue();
}

}  // namespace
