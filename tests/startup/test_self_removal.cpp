// The uninstaller's hand-over to its temporary copy, inside this process: the
// copy's command line, the temporary file, and what is left when the copy
// cannot be started.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "framework/exit_status.h"
#include "framework/run_guard.h"
#include "gtest/gtest.h"
#include "startup/deferred_file.h"
#include "startup/removal_leftovers.h"
#include "startup/self_removal.h"
#include "support/installed_state.h"
#include "support/pending_operations.h"
#include "support/platform_override.h"
#include "support/test_folders.h"

namespace {

struct CommandLineCase {
  const char* name;
  const char* copy;
  const char* uninstaller;
  bool silent;
  const char* expected;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.name; }

class SelfRemovalCommandLineTable : public testing::TestWithParam<CommandLineCase> {};

TEST_P(SelfRemovalCommandLineTable, QuotesExactlyThePathsWithBlanksOrTabs) {
  const CommandLineCase& c = GetParam();
  EXPECT_EQ(SelfRemovalCommandLine(c.copy, c.uninstaller, c.silent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SelfRemovalCommandLineTable,
    testing::Values(
        CommandLineCase{"UninstallerUnderProgramFiles", "C:\\users\\jo\\Temp\\uni2d6.tmp",
                        "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe", false,
                        "C:\\users\\jo\\Temp\\uni2d6.tmp -delself \"C:\\Program Files\\Orvelle 6\\OrvUnInst.exe\""},
        CommandLineCase{"BlankInTheTemporaryFolder", "C:\\Documents and Settings\\Jo\\Temp\\uni1.tmp",
                        "C:\\Orvelle\\OrvUnInst.exe", false,
                        "\"C:\\Documents and Settings\\Jo\\Temp\\uni1.tmp\" -delself C:\\Orvelle\\OrvUnInst.exe"},
        CommandLineCase{"NoBlankAnywhereSilent", "C:\\Temp\\uniA.tmp", "C:\\Orvelle\\OrvUnInst.exe", true,
                        "C:\\Temp\\uniA.tmp -delself C:\\Orvelle\\OrvUnInst.exe -s"},
        CommandLineCase{"BlanksEverywhereSilent", "C:\\My Temp\\uniB.tmp",
                        "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe", true,
                        "\"C:\\My Temp\\uniB.tmp\" -delself \"C:\\Program Files\\Orvelle 6\\OrvUnInst.exe\" -s"},
        CommandLineCase{"TabCountsAsABlank", "C:\\Temp\\uniC.tmp", "C:\\Orv\telle\\OrvUnInst.exe", false,
                        "C:\\Temp\\uniC.tmp -delself \"C:\\Orv\telle\\OrvUnInst.exe\""}),
    [](const testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

TEST(SelfRemovalFolderOf, TheUninstallersFolderWithItsTrailingBackslash) {
  const char* const cases[][2] = {
      {"C:\\Program Files\\Orvelle 6\\OrvUnInst.exe", "C:\\Program Files\\Orvelle 6\\"},
      {"C:\\OrvUnInst.exe", "C:\\"},
      {"\\\\server\\share\\Orvelle\\OrvUnInst.exe", "\\\\server\\share\\Orvelle\\"},
      // No folder: no installation to remove (not the current directory).
      {"OrvUnInst.exe", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SelfRemovalFolder(c[0]), c[1]) << c[0];
}

// Records the start it is asked for and fails it, as the system does for a
// file that is no program.
struct StartRequest {
  std::string application;
  std::string commandLine;
  bool inheritHandles = true;
  bool ownEnvironment = true;
  bool fileIsTheProgram = false;
  bool othersCanChangeIt = true;
};
std::vector<StartRequest> g_starts;

BOOL WINAPI FailingStart(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                         BOOL inheritHandles, DWORD, LPVOID environment, LPCSTR, LPSTARTUPINFOA,
                         LPPROCESS_INFORMATION) {
  StartRequest request;
  request.application = application ? application : "";
  request.commandLine = commandLine ? commandLine : "";
  request.inheritHandles = inheritHandles != FALSE;
  request.ownEnvironment = environment != nullptr;
  request.fileIsTheProgram = ReadFileBytes(request.application) == ReadFileBytes(OwnProgramPath());
  request.othersCanChangeIt = OthersCanChange(request.application);
  g_starts.push_back(request);
  SetLastError(ERROR_BAD_EXE_FORMAT);
  return FALSE;
}

struct FailedStartCase { const char* name; const char* temporaryFolder /* under the test folder */; bool silent; };

void PrintTo(const FailedStartCase& c, std::ostream* out) { *out << c.name; }

// The user's temporary folder (TMP, TEMP) is a folder of the test while the
// fixture lives; the copy's start goes to FailingStart.
class SelfRemovalStart : public testing::Test {
 protected:
  void SetUp() override {
    g_starts.clear();
    SaveVariable("TMP");
    SaveVariable("TEMP");
  }
  void TearDown() override {
    for (const auto& saved : savedVariables_)
      SetEnvironmentVariableA(saved.first.c_str(), saved.second.empty() ? nullptr : saved.second.c_str());
    InstallOptions.silent = false;
  }

  void UseTemporaryFolder(const std::string& path) {
    SetEnvironmentVariableA("TMP", path.c_str());
    SetEnvironmentVariableA("TEMP", path.c_str());
  }

  TestFolder folder_;

 private:
  void SaveVariable(const char* name) {
    char value[MAX_PATH] = "";
    GetEnvironmentVariableA(name, value, sizeof value);
    savedVariables_.push_back({name, value});
  }

  PlatformOverride<SelfRemovalCalls> start_{SelfRemovalPlatform(), {&FailingStart}};
  std::vector<std::pair<std::string, std::string>> savedVariables_;
};

class SelfRemovalFailedStart : public SelfRemovalStart, public testing::WithParamInterface<FailedStartCase> {};

TEST_P(SelfRemovalFailedStart, LeavesNoTemporaryFile) {
  const FailedStartCase& c = GetParam();
  const std::string temporary = folder_ / c.temporaryFolder;
  ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
  UseTemporaryFolder(temporary);
  InstallOptions.silent = c.silent;

  StartSelfRemovalCopy(RunGuard(), false);  // returns: the start failed

  ASSERT_EQ(g_starts.size(), 1u);
  const StartRequest& start = g_starts[0];
  EXPECT_EQ(FolderPart(start.application), temporary);
  std::string name = NamePart(start.application);
  ToLower(name);
  EXPECT_EQ(name.substr(0, 3), "uni") << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".tmp") << name;
  EXPECT_TRUE(start.fileIsTheProgram) << "the temporary file holds a copy of the running program";
  EXPECT_FALSE(start.othersCanChangeIt) << "the copy is locked until its process has started";

  const bool blank = std::string(c.temporaryFolder).find(' ') != std::string::npos;
  std::string expected = (blank ? "\"" + start.application + "\"" : start.application) + " -delself " +
                         OwnProgramPath() + (c.silent ? " -s" : "");
  EXPECT_EQ(start.commandLine, expected);
  EXPECT_FALSE(start.inheritHandles);
  EXPECT_FALSE(start.ownEnvironment) << "the copy gets the current environment";

  EXPECT_EQ(TreeOf(temporary), std::vector<std::string>{}) << "the temporary file goes when no copy runs";
}

INSTANTIATE_TEST_SUITE_P(TemporaryFolders, SelfRemovalFailedStart,
                         testing::Values(FailedStartCase{"Plain", "temp", false},
                                         FailedStartCase{"WithABlank", "my temp", false},
                                         FailedStartCase{"Silent", "temp", true}),
                         [](const testing::TestParamInfo<FailedStartCase>& info) { return info.param.name; });

TEST_F(SelfRemovalStart, NoTemporaryFileNoStart) {
  UseTemporaryFolder(folder_ / "missing");
  StartSelfRemovalCopy(RunGuard(), false);
  EXPECT_TRUE(g_starts.empty());
  EXPECT_FALSE(PathExists(folder_ / "missing"));
}

BOOL WINAPI RefusedDelayedMove(LPCSTR, LPCSTR, DWORD) { return FALSE; }

// What a removal leaves: queued for the restart with the folder it alone
// keeps (restart required), or, where neither the system's list nor
// WININIT.INI takes it, a failure; nothing left is done.
TEST(RemovalLeftovers, TheStatusSaysWhetherTheRestartTakesThem) {
  TestFolder folder;
  const std::string& installed = folder.Path();
  const std::string held = folder / "readme.txt";
  ASSERT_TRUE(WriteFileBytes(held, "x"));
  EXPECT_EQ(SettleLeftovers(installed, {folder / "gone.txt"}), exitstatus::kDone) << "what went is no leftover";

  EXPECT_EQ(SettleLeftovers(installed, {held}), exitstatus::kRestartRequired);
  const std::vector<PendingOperation> queued = {{SystemListPath(held), ""}, {SystemListPath(folder.Path()), ""}};
  EXPECT_EQ(PendingOperations(), queued);

  // Neither the delayed move nor WININIT.INI (a folder stands in its place).
  const PlatformOverride<DeferredFileCalls> refused(DeferredFilePlatform(), {&RefusedDelayedMove});
  ASSERT_TRUE(CreateDirectoryA(WininitPath().c_str(), nullptr));
  EXPECT_EQ(SettleLeftovers(installed, {held}), exitstatus::kFailed);
  RemoveDirectoryA(WininitPath().c_str());
}

// A folder of the installation replaced by a link between the removal and
// the settling of its leftovers: the restart would delete by path, as the
// system, behind the link. Nothing of it is queued, and it stays.
TEST(RemovalLeftovers, NothingIsQueuedBehindALink) {
  TestFolder folder;
  const std::string elsewhere = folder / "elsewhere";
  const std::string installed = folder / "installed";
  ASSERT_TRUE(MakeFolders(elsewhere));
  ASSERT_TRUE(MakeFolders(installed));
  ASSERT_TRUE(WriteFileBytes(elsewhere + "\\theirs.dll", "x"));
  ASSERT_TRUE(MakeFolderLink(installed + "\\bin", elsewhere));
  ASSERT_TRUE(MakeFolderLink(folder / "linked", elsewhere));
  const struct {
    std::string folder;
    std::string leftover;
  } rows[] = {{installed, installed + "\\bin\\theirs.dll"}, {folder / "linked", folder / "linked\\theirs.dll"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.leftover);
    EXPECT_EQ(SettleLeftovers(row.folder, {row.leftover}), exitstatus::kFailed);
    EXPECT_EQ(PendingOperations(), std::vector<PendingOperation>{});
    EXPECT_TRUE(PathExists(elsewhere + "\\theirs.dll"));
  }
}

}  // namespace
