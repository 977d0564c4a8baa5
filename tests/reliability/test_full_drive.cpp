// A destination on a drive that fills up during the copy: drive X: of the
// test's prefix is a small file system of its own (wine-run.sh
// --small-drive), filled by the test up to the space it wants to leave.
#include <windows.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/string_table.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "resources/resource_ids.h"
#include "support/installed_state.h"
#include "support/package_run.h"
#include "system_snapshot.h"

namespace {

constexpr char kDrive[] = "X:\\";
const std::string kDestination = "X:\\Orvelle 6";
const std::string kFiller = "X:\\filler.bin";

unsigned long long FreeBytes() {
  ULARGE_INTEGER free{};
  GetDiskFreeSpaceExA(kDrive, &free, nullptr, nullptr);
  return free.QuadPart;
}

// Fills the drive until `leave` bytes are free (to the file system's block).
bool FillDriveLeaving(unsigned long long leave) {
  const unsigned long long free = FreeBytes();
  if (free < leave) return false;
  std::string bytes(static_cast<std::size_t>(free - leave), 'f');
  return WriteFileBytes(kFiller, bytes) && FreeBytes() <= leave + 4096;
}

unsigned long long SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Compared as a flag: a failure message must not print a whole program.
bool SameBytes(const std::string& first, const std::string& second) {
  return ReadFileBytes(first) == ReadFileBytes(second);
}

class FullDrive : public testing::Test, protected PackageRun {
 protected:
  FullDrive() : PackageRun("orvfull", "package") {}
  void SetUp() override {
    if (GetDriveTypeA(kDrive) == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small drive X: (wine-run.sh --small-drive)";
    ASSERT_TRUE(CopyPackage());
    ASSERT_TRUE(CreateDirectoryA(kDestination.c_str(), nullptr));  // "-instdir" takes an existing folder
    before_ = TakeSnapshot();
  }

  std::string Packaged(const char* name) const { return package_ + "\\" + name; }
  std::string Installed(const char* name) const { return kDestination + "\\" + name; }

  SystemSnapshot before_;
};

TEST_F(FullDrive, FirstInstallationGoesOnPastTheFileThatDoesNotFit) {
  // Room for everything but the application, the largest file.
  const unsigned long long application = SizeOf(Packaged(names::kApplicationExe));
  ASSERT_TRUE(FillDriveLeaving(application - 64 * 1024));

  // A file that could not be installed: the run failed, whatever else it did.
  ASSERT_EQ(RunSetup("-s -instdir \"" + kDestination + "\""), exitstatus::kFailed);
  // No truncated program: the file that did not fit is not there at all.
  EXPECT_FALSE(PathExists(Installed(names::kApplicationExe)))
      << SizeOf(Installed(names::kApplicationExe)) << " bytes of " << application;
  EXPECT_TRUE(SameBytes(Installed(names::kUninstallerExe), Packaged(names::kUninstallerExe)));
  EXPECT_TRUE(SameBytes(Installed(names::kReadmeFile), Packaged(names::kReadmeFile)));
  EXPECT_EQ(InstalledFolder(), kDestination);

  // The uninstaller removes what was installed, from X: and from C:.
  ASSERT_TRUE(UninstallSilently(kDestination));
  EXPECT_FALSE(PathExists(kDestination));
  EXPECT_EQ(Residue(before_, TakeSnapshot()), std::vector<std::string>{});
}

TEST_F(FullDrive, ReinstallationOnAFullDriveLosesNoInstalledFile) {
  ASSERT_EQ(RunSetup("-s -instdir \"" + kDestination + "\""), 0);
  const std::string earlier = ReadFileBytes(Installed(names::kReadmeFile));
  ASSERT_FALSE(earlier.empty());
  // The new package's readme is larger than the room left.
  ASSERT_TRUE(WriteFileBytes(Packaged(names::kReadmeFile), std::string(512 * 1024, 'r')));
  ASSERT_TRUE(FillDriveLeaving(128 * 1024));

  EXPECT_EQ(RunSetup("-s"), exitstatus::kFailed);
  EXPECT_EQ(ReadFileBytes(Installed(names::kReadmeFile)), earlier) << "the installed readme was lost";
  EXPECT_TRUE(SameBytes(Installed(names::kApplicationExe), Packaged(names::kApplicationExe)));
  EXPECT_FALSE(PathExists(Installed("readme.txt.new"))) << "no side copy is left";
}

// String 27 with the number and the first name, in place of string 9.
std::string IncompleteText(unsigned count, const std::string& name) {
  std::string text = LoadStringResource(IDS_INSTALL_INCOMPLETE);
  text.replace(text.find("%d"), 2, std::to_string(count));
  text.replace(text.find("%s"), 2, name);
  return text;
}

// The wizard says what could not be installed and the setup fails, whether
// the drive filled up or a folder stands in a file's place; a long name ends
// in an ellipsis, so that the text keeps to its control.
TEST_F(FullDrive, TheWizardSaysWhatCouldNotBeInstalled) {
  const std::string longName = std::string(60, 'n') + ".txt";
  ASSERT_TRUE(WriteFileBytes(Packaged(longName.c_str()), "text"));
  ASSERT_TRUE(WriteFileBytes(Packaged(names::kUninstallLog),
                             ReadFileBytes(Packaged(names::kUninstallLog)) + "File Copy: " + longName + "\r\n"));
  const std::string arguments = "-instdir \"" + kDestination + "\"";
  {
    SCOPED_TRACE("a folder in a file's place");
    ASSERT_TRUE(CreateDirectoryA(Installed(longName.c_str()).c_str(), nullptr));
    const WizardInstallation run = RunWizardInstallation(package_, arguments, CycleOptions{}, root_.Path());
    ASSERT_TRUE(run.ran);
    const std::string whole = IncompleteText(1, longName);
    const std::string prefix = whole.substr(0, whole.find(longName));
    EXPECT_EQ(run.completionText.substr(0, prefix.size()), prefix) << run.completionText;
    EXPECT_LT(run.completionText.size(), whole.size()) << run.completionText;
    EXPECT_EQ(run.completionText.substr(run.completionText.size() - 3), "...") << run.completionText;
    EXPECT_EQ(run.status, exitstatus::kFailed);
  }
  ASSERT_TRUE(UninstallSilently(kDestination));
  RemoveTree(kDestination);  // the folder in the file's place keeps it
  ASSERT_TRUE(CreateDirectoryA(kDestination.c_str(), nullptr));
  {
    SCOPED_TRACE("a full drive");
    ASSERT_TRUE(FillDriveLeaving(SizeOf(Packaged(names::kApplicationExe)) - 64 * 1024));
    const WizardInstallation run = RunWizardInstallation(package_, arguments, CycleOptions{}, root_.Path());
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.completionText, IncompleteText(1, names::kApplicationExe));
    EXPECT_EQ(run.status, exitstatus::kFailed);
  }
}

}  // namespace
