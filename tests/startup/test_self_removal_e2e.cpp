// The real setup.exe installed as OrvUnInst.exe, started under Wine on the
// test's display: the uninstaller hands over to a temporary copy of itself,
// which deletes the uninstaller, queues its own deletion and says so unless
// silent.
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "common/text.h"
#include "gtest/gtest.h"
#include "raw_instance_list.h"
#include "resources/resource_ids.h"
#include "startup/instance_manager.h"
#include "support/pending_operations.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

constexpr DWORD kBoxWait = 15000;
constexpr DWORD kProcessWait = 20000;

std::string ImagePath(const StartedProcess& process) {
  char path[MAX_PATH];
  DWORD length = sizeof path;
  if (!QueryFullProcessImageNameA(process.process.get(), 0, path, &length)) return std::string();
  return std::string(path, length);
}

class SelfRemovalEndToEnd : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryA(installed_.c_str(), nullptr));
    ASSERT_TRUE(CopySetupTo(uninstaller_));
  }

  // Starts the installed uninstaller in its folder; `arguments` follow its
  // quoted path.
  StartedProcess StartUninstaller(const std::string& arguments) { return Start(uninstaller_, arguments, installed_); }

  // Checks that the copy is a "uni" temporary file of `temporaryFolder`.
  static void ExpectTemporaryCopy(const std::string& copyPath, const std::string& temporaryFolder) {
    EXPECT_EQ(FolderPart(copyPath) + "\\", temporaryFolder);
    EXPECT_TRUE(IsTemporaryCopyName(NamePart(copyPath))) << copyPath;
  }

  static bool QueuedForDeletion(const std::string& path) {
    std::vector<PendingOperation> pending = PendingOperations();
    return std::find(pending.begin(), pending.end(), PendingOperation{SystemListPath(path), ""}) != pending.end();
  }

  const std::string installed_ = root_ / "Orvelle 6";
  const std::string uninstaller_ = UninstallerIn(installed_);
};

// Silent removal, with the user's temporary folder as it is and with one
// whose path holds a blank (the copy's path is then quoted).
struct SilentCase {
  const char* name;
  const char* temporaryFolder;  // under the test folder; null: the prefix's own
};

void PrintTo(const SilentCase& c, std::ostream* out) { *out << c.name; }

class SilentSelfRemoval : public SelfRemovalEndToEnd, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentSelfRemoval, TheCopyRemovesTheUninstallerWithoutAWord) {
  if (const char* temporary = GetParam().temporaryFolder) {
    std::string path = root_ / temporary;
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    // The uninstaller inherits the test's environment.
    SetEnvironmentVariableA("TMP", path.c_str());
    SetEnvironmentVariableA("TEMP", path.c_str());
  }
  char temporaryFolder[MAX_PATH];
  GetTempPathA(sizeof temporaryFolder, temporaryFolder);

  RawInstanceList instances(names::kInstanceName, true);  // held from before the uninstaller starts
  ASSERT_TRUE(instances);
  StartedProcess uninstaller = StartUninstaller("-s");
  ASSERT_TRUE(uninstaller);
  StartedProcess copy = WaitForTemporaryCopyOf(uninstaller.id, 5000);
  ASSERT_TRUE(copy) << "no temporary copy was started";
  EXPECT_EQ(WaitForExit(uninstaller, kProcessWait), 0);
  const std::string copyPath = ImagePath(copy);
  ExpectTemporaryCopy(copyPath, temporaryFolder);

  // The copy waits a second before it deletes the uninstaller.
  EXPECT_TRUE(PathExists(uninstaller_)) << "deleted before the uninstaller could end";
  while (WaitForSingleObject(copy.process.get(), 20) == WAIT_TIMEOUT) {
    ASSERT_EQ(ui::WaitForDialog(copy.id, 0), nullptr) << "a silent removal shows no message";
  }
  EXPECT_EQ(WaitForExit(copy, kProcessWait), 0);
  EXPECT_FALSE(PathExists(uninstaller_));

  // The copy cannot delete itself while it runs: it is queued for the
  // restart, and the restart removes it.
  EXPECT_TRUE(PathExists(copyPath));
  EXPECT_TRUE(QueuedForDeletion(copyPath)) << copyPath;
  ASSERT_TRUE(RestartPrefix());
  EXPECT_FALSE(PathExists(copyPath));

  // The uninstaller ended without the process-wide clean-up: it is still in
  // the instance list, while the copy took itself out at its normal end.
  std::vector<std::uint32_t> ids = instances.Entries();  // read once the processes have ended
  EXPECT_EQ(std::count(ids.begin(), ids.end(), uninstaller.id), 1) << "the uninstaller's entry stays";
  EXPECT_EQ(std::count(ids.begin(), ids.end(), copy.id), 0) << "the copy's entry goes";
}

INSTANTIATE_TEST_SUITE_P(TemporaryFolders, SilentSelfRemoval,
                         testing::Values(SilentCase{"UsersTemp", nullptr}, SilentCase{"WithABlank", "my temp"}),
                         [](const testing::TestParamInfo<SilentCase>& info) { return std::string(info.param.name); });

TEST_F(SelfRemovalEndToEnd, ConfirmedRemovalEndsWithTheClosingMessage) {
  StartedProcess uninstaller = StartUninstaller("");
  ASSERT_TRUE(uninstaller);
  HWND question = ui::WaitForDialog(uninstaller.id, kBoxWait);
  ASSERT_NE(question, nullptr) << "no confirmation asked";
  EXPECT_EQ(ui::MessageBoxText(question), LoadStringResource(IDS_CONFIRM_UNINSTALL));
  EXPECT_EQ(ui::Text(question), LoadStringResource(IDS_WINDOW_TITLE));
  ui::Press(question, IDYES);

  StartedProcess copy = WaitForTemporaryCopyOf(uninstaller.id, 5000);
  ASSERT_TRUE(copy) << "no temporary copy was started";
  EXPECT_EQ(WaitForExit(uninstaller, kProcessWait), 0);

  // The copy waits a second, then removes the installation before it speaks;
  // on a loaded machine that takes a while.
  HWND closing = ui::WaitForDialog(copy.id, 3 * kBoxWait);
  ASSERT_NE(closing, nullptr) << "no closing message";
  EXPECT_FALSE(PathExists(uninstaller_)) << "the uninstaller goes before the closing message";
  EXPECT_TRUE(QueuedForDeletion(ImagePath(copy)));
  EXPECT_EQ(ui::MessageBoxText(closing), LoadStringResource(IDS_UNINSTALLED));
  EXPECT_EQ(ui::Text(closing), LoadStringResource(IDS_APP_TITLE));
  EXPECT_EQ(ui::ButtonIds(closing), (std::vector<int>{IDOK}));
  ui::Press(closing, IDOK);
  EXPECT_EQ(WaitForExit(copy, kProcessWait), 0);
}

// The uninstaller ends right after it starts the copy, but on a loaded machine
// its file can still be held when the copy's wait is over. Here a program
// runs under the uninstaller's name for 2.5 s: the copy deletes it once it
// has ended, and the installed folder goes with it.
TEST_F(SelfRemovalEndToEnd, AnUninstallerStillEndingIsDeletedOnceItHasEnded) {
  char testProgram[MAX_PATH];
  ASSERT_NE(GetModuleFileNameA(nullptr, testProgram, sizeof testProgram), 0u);
  ASSERT_TRUE(CopyFileA(testProgram, uninstaller_.c_str(), FALSE));
  StartedProcess holder = Start(uninstaller_, "--orv-child-sleep 2500", installed_);
  ASSERT_TRUE(holder);
  Sleep(200);  // the file is held from here on
  ASSERT_FALSE(DeleteFileA(uninstaller_.c_str())) << "the running program's file could be deleted";

  const std::string copy = root_ / "uni1.tmp";
  ASSERT_TRUE(CopySetupTo(copy));
  EXPECT_EQ(
      RunProgram(copy, std::string(names::kSelfRemovalSwitch) + " \"" + uninstaller_ + "\" " + names::kSilentSwitch), 0);
  EXPECT_EQ(WaitForExit(holder, kProcessWait), 0);
  EXPECT_FALSE(PathExists(uninstaller_));
  EXPECT_FALSE(PathExists(installed_)) << "the installed folder stays";
}

}  // namespace
