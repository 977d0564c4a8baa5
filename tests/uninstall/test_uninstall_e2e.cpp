// The real uninstaller on a prepared installation: "OrvUnInst.exe -s" starts
// its temporary copy and ends; the copy removes everything. Only the copy
// itself stays, queued for deletion at the next restart.
#include <windows.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/pending_operations.h"
#include "support/package_run.h"

namespace {

constexpr DWORD kProcessWait = 30000;

// The restart-time operations the system holds, as one text.
std::string PendingRestartOperations() {
  std::string text;
  for (const PendingOperation& operation : PendingOperations()) text += operation.source + "\n";
  return text;
}

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Runs the installation's "OrvUnInst.exe -s" and waits for it (status 0) and
// for its temporary copy; returns the copies seen.
std::vector<std::string> RunSilentUninstaller(const Installation& installed) {
  const std::string uninstaller = installed.folder + names::kUninstallerExe;
  EXPECT_TRUE(CopySetupTo(uninstaller));
  EXPECT_EQ(RunToEnd(uninstaller, "-s", installed.folder, kProcessWait), 0);
  return WaitForTemporaryCopies(kProcessWait);
}

TEST(UninstallEndToEnd, SilentUninstallerLeavesNothingButItsQueuedCopy) {
  TestFolder root("Program Files");
  Installation installed = Installation::Make(root.Path(), "Orvelle 6");
  const std::vector<std::string> copies = RunSilentUninstaller(installed);
  ASSERT_EQ(copies.size(), 1u) << "the uninstaller starts one temporary copy";

  installed.ExpectGone();
  EXPECT_EQ(TreeOf(root.Path()), std::vector<std::string>{});
  // The copy cannot delete itself: it is queued for the next restart.
  EXPECT_NE(PendingRestartOperations().find(copies[0]), std::string::npos) << PendingRestartOperations();
}

// Folder links any account can make where the removal works: the
// default-named group in the user's programs folder, one in the folder
// another profile's Programs value names, and a logged sub-folder of the
// installed folder. Nothing behind them is deleted and they stay; the rest
// of the removal goes as before.
TEST(UninstallEndToEnd, DeletesNothingBehindAFolderLink) {
  TestFolder root("Program Files");
  TestFolder elsewhere("elsewhere");
  Installation installed = Installation::Make(root.Path(), "Autre groupe");
  ASSERT_TRUE(LoadEmptyProfile(kOtherUser));
  const std::string chosen = elsewhere / "chosen";
  ASSERT_TRUE(MakeFolders(chosen));
  SetValue(HKEY_USERS, std::string(kOtherUser) + "\\" + names::kShellFoldersKey, names::kProgramsValue, chosen);
  const std::string plugins = installed.folder + "plugins";
  RemoveTree(plugins);

  struct Link {
    std::string path;
    std::string target;
    const char* file;  // in the target: what the removal would delete there
  };
  const Link links[] = {
      {ShellFolder(HKEY_CURRENT_USER, names::kProgramsValue) + "\\" + names::kProductName, elsewhere / "a", "notes.txt"},
      {chosen + "\\" + names::kProductName, elsewhere / "b", "notes.txt"},
      {plugins, elsewhere / "c", "jpeg.flt"},  // "File Copy: plugins\*.flt"
  };
  for (const Link& link : links) {
    ASSERT_TRUE(MakeFolders(link.target));
    ASSERT_TRUE(WriteFileBytes(link.target + "\\" + link.file, "not the installation's"));
    ASSERT_TRUE(MakeFolderLink(link.path, link.target)) << link.path;
    ASSERT_TRUE(IsLink(link.path)) << link.path;
    ASSERT_TRUE(PathExists(link.path + "\\" + link.file)) << "the link does not lead to " << link.target;
  }

  RunSilentUninstaller(installed);

  for (const Link& link : links) {
    EXPECT_TRUE(PathExists(link.target + "\\" + link.file)) << "deleted through " << link.path;
    EXPECT_TRUE(IsLink(link.path)) << "the link did not stay: " << link.path;
  }
  installed.ExpectGone({"plugins\\", "plugins\\jpeg.flt"});
}

}  // namespace
