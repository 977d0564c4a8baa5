// The uninstall procedure on an installation prepared as the installer leaves
// it: real files, shortcuts and shell folders, real registry keys.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/test_folders.h"
#include "uninstall/install_log.h"
#include "uninstall/uninstall.h"

namespace {

using Tree = std::vector<std::string>;

// Default-named items of one set of shell folders: the startup and desktop
// shortcuts and the program group, which also holds the user's own shortcut.
struct DefaultItems {
  std::vector<std::string> paths;

  static DefaultItems Make(const std::string& startup, const std::string& desktop, const std::string& programs) {
    DefaultItems items;
    const std::string group = programs + "\\Orvelle 6";
    items.paths = {startup + "\\Orvelle 6.lnk", desktop + "\\Orvelle 6.lnk", group + "\\Orvelle 6.lnk",
                   group + "\\Mine.lnk",        group + "\\notes.txt",       group};
    MakeFolders(startup);
    MakeFolders(desktop);
    MakeFolders(group);
    for (std::size_t i = 0; i + 1 < items.paths.size(); ++i) EXPECT_TRUE(WriteFileBytes(items.paths[i], "x"));
    return items;
  }
  // Shell Folders values of `profile` pointing into `base`.
  static DefaultItems MakeForProfile(HKEY profile, const std::string& base) {
    const std::string startup = base + "\\Start Menu\\Programs\\Startup";
    const std::string desktop = base + "\\Desktop";
    const std::string programs = base + "\\Start Menu\\Programs";
    SetValue(profile, names::kShellFoldersKey, names::kStartupValue, startup);
    SetValue(profile, names::kShellFoldersKey, names::kDesktopValue, desktop);
    SetValue(profile, names::kShellFoldersKey, names::kProgramsValue, programs);
    return Make(startup, desktop, programs);
  }
  void ExpectGone() const {
    for (const std::string& path : paths) EXPECT_FALSE(PathExists(path)) << path;
  }
};

class UninstallTest : public testing::Test {
 protected:
  TestFolder root_{"Program Files"};
};

TEST_F(UninstallTest, RemovesAWholeInstallationWhateverTheGroupName) {
  Installation installed = Installation::Make(root_.Path(), "Images\\Orvelle Six");
  // Staging folders an installation ended abruptly left, a cut read-only
  // copy in each: they go, and so do the folders they are in.
  for (const std::string& folder : {installed.folder, installed.folder + "plugins\\"}) {
    const std::string staging = folder + names::kStagingFolder;
    ASSERT_TRUE(MakeFolders(staging));
    ASSERT_TRUE(WriteFileBytes(staging + "\\OrvPix6.exe", "cut"));
    ASSERT_TRUE(SetFileAttributesA((staging + "\\OrvPix6.exe").c_str(), FILE_ATTRIBUTE_READONLY));
  }
  // The current folder is the installed one, as when started from there.
  ASSERT_TRUE(SetCurrentDirectoryA(installed.folder.c_str()));
  Uninstall(installed.folder.c_str());
  installed.ExpectGone();
  // "Images" was never logged; empty, it went with the group.
  EXPECT_FALSE(PathExists(ShellFolder(HKEY_CURRENT_USER, names::kProgramsValue) + "\\Images"));
  EXPECT_TRUE(PathExists(ShellFolder(HKEY_CURRENT_USER, names::kProgramsValue)));
  EXPECT_EQ(TreeOf(root_.Path()), Tree{});
}

TEST_F(UninstallTest, BothLogsLinksFirstThenFilesInstallLogFirst) {
  Installation installed = Installation::Make(root_.Path(), "Orvelle 6");
  const std::string oldGroup = ShellFolder(HKEY_CURRENT_USER, names::kProgramsValue) + "\\Orvelle 5";
  MakeFolders(oldGroup);
  MakeFolders(installed.folder + "Menu");
  MakeFolders(installed.folder + "data");
  ASSERT_TRUE(WriteFileBytes(oldGroup + "\\Old.lnk", "shortcut"));
  ASSERT_TRUE(WriteFileBytes(installed.folder + "Menu\\Orvelle 6.lnk", "shortcut"));
  ASSERT_TRUE(WriteFileBytes(installed.folder + "data\\x.txt", "x"));
  // Each removal below waits for one made by the other log: everything goes
  // only when install.log's links go before OrvUnInst.log's, and all links
  // before install.log's files, which go before OrvUnInst.log's.
  ASSERT_TRUE(WriteLog(installed.folder + names::kOldLog,
                       {"Shell Link: " + oldGroup + "\\Old.lnk", "File Copy: data\\x.txt", "Make Dir: Menu"}));
  const std::string log = installed.folder + names::kUninstallLog;
  for (const std::string& line : {"Made Dir: " + oldGroup, "Shell Link: " + installed.folder + "Menu\\Orvelle 6.lnk",
                                  std::string("Make Dir: data"), std::string("File Del: install.log")})
    ASSERT_TRUE(AppendLogLine(log.c_str(), line.c_str()));

  Uninstall(installed.folder.c_str());
  installed.ExpectGone();
  EXPECT_FALSE(PathExists(oldGroup));
}

TEST_F(UninstallTest, AUsersFileKeepsTheFolder) {
  Installation installed = Installation::Make(root_.Path(), "Orvelle 6");
  ASSERT_TRUE(WriteFileBytes(installed.folder + "notes.txt", "the user's"));
  ASSERT_TRUE(WriteLog(installed.folder + names::kOldLog, {"; names nothing"}));
  Uninstall(installed.folder.c_str());
  EXPECT_EQ(TreeOf(installed.folder), (Tree{"install.log", "notes.txt"}));
  EXPECT_FALSE(PathExists(installed.group));
  for (const std::string& link : installed.shortcuts) EXPECT_FALSE(PathExists(link)) << link;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kProductKey));
}

TEST_F(UninstallTest, WithoutALogTheDefaultNamedItemsStillGo) {
  Installation installed = Installation::Make(root_.Path(), "Orvelle 6");
  ASSERT_TRUE(DeleteFileA((installed.folder + names::kUninstallLog).c_str()));
  // The group made by the installation gets the user's shortcut as well.
  ASSERT_TRUE(WriteFileBytes(installed.group + "\\Mine.lnk", "the user's"));
  DefaultItems allUsers = DefaultItems::Make(ShellFolder(HKEY_LOCAL_MACHINE, names::kCommonStartupValue),
                                             ShellFolder(HKEY_LOCAL_MACHINE, names::kCommonDesktopValue),
                                             ShellFolder(HKEY_LOCAL_MACHINE, names::kCommonProgramsValue));

  Uninstall(installed.folder.c_str());

  allUsers.ExpectGone();
  EXPECT_FALSE(PathExists(installed.group));
  for (const std::string& link : installed.shortcuts) EXPECT_FALSE(PathExists(link)) << link;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kMakerKey));
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, std::string(names::kFileExtsKey) + "\\.bmp", names::kFileExtsTypeValue),
            "mspaint.exe");
  // Nothing names the files: they stay.
  EXPECT_TRUE(PathExists(installed.folder + "OrvPix6.exe"));
}

TEST_F(UninstallTest, DefaultNamedItemsGoFromEveryLoadedProfile) {
  Installation installed = Installation::Make(root_.Path(), "Orvelle 6");
  ASSERT_TRUE(LoadEmptyProfile(kOtherUser));
  RegKey defaultProfile, otherProfile;
  ASSERT_TRUE(defaultProfile.Open(HKEY_USERS, ".Default", KEY_ALL_ACCESS));
  ASSERT_TRUE(otherProfile.Open(HKEY_USERS, kOtherUser, KEY_ALL_ACCESS));
  DefaultItems defaultUser = DefaultItems::MakeForProfile(defaultProfile.get(), root_ / "Users\\Default");
  DefaultItems otherUser = DefaultItems::MakeForProfile(otherProfile.get(), root_ / "Users\\Other");
  MakeFolders(root_ / "Users\\Other\\Start Menu\\Programs\\Games");

  Uninstall(installed.folder.c_str());

  installed.ExpectGone();
  defaultUser.ExpectGone();
  otherUser.ExpectGone();
  EXPECT_TRUE(PathExists(root_ / "Users\\Other\\Start Menu\\Programs\\Games"));
}

TEST_F(UninstallTest, ShellFolderTooLongForTheShortcutPathIsSkipped) {
  // A desktop folder of 248 characters: with "\Orvelle 6.lnk" the path would
  // be 262; cut at 259 it would end in "Orvelle 6." and name the user's file
  // "Orvelle 6" (the file system drops a trailing dot).
  std::string desktop = root_ / "Users\\Other";
  while (desktop.size() < 248) desktop += "\\" + std::string(std::min<std::size_t>(60, 247 - desktop.size()), 'd');
  desktop.resize(248);
  MakeFolders(desktop);
  ASSERT_TRUE(WriteFileBytes(desktop + "\\Orvelle 6", "the user's"));
  SetValue(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kDesktopValue, desktop);
  const std::string installed = root_ / "Orvelle 6\\";
  MakeFolders(installed);
  Uninstall(installed.c_str());
  EXPECT_TRUE(PathExists(desktop + "\\Orvelle 6"));
}

TEST_F(UninstallTest, AnEmptyFolderNamesNoInstallation) {
  SetValue(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue, "C:\\Orvelle 6");
  const std::string current = root_ / "current";
  MakeFolders(current);
  ASSERT_TRUE(WriteLog(current + "\\OrvUnInst.log", {"File Copy: *.*"}));
  ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
  Uninstall("");
  Uninstall(nullptr);
  EXPECT_EQ(TreeOf(current), Tree{"OrvUnInst.log"});
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, names::kProductKey));
  SetCurrentDirectoryA("\\");
}

}  // namespace
