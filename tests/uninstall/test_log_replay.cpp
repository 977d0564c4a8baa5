// Log replay on real files: what each kind of entry removes, and what it must
// leave alone.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/names.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/test_folders.h"
#include "uninstall/install_log.h"
#include "uninstall/log_replay.h"

namespace {

using Tree = std::vector<std::string>;

class LogReplayTest : public testing::Test {
 protected:
  void SetUp() override { MakeFolders(installed_); }

  // Creates the files (and the folders of their paths) in the installed folder.
  void Files(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
      const std::size_t slash = file.rfind('\\');
      if (slash != std::string::npos) MakeFolders(installed_ + "\\" + file.substr(0, slash));
      ASSERT_TRUE(WriteFileBytes(installed_ + "\\" + file, file)) << file;
    }
  }
  void Folders(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) MakeFolders(installed_ + "\\" + folder);
  }
  std::string Log(const std::vector<std::string>& lines) {
    EXPECT_TRUE(WriteLog(log_, lines));
    return log_;
  }
  // Gives the file or folder of the installed folder the attributes.
  bool Attributes(const std::string& relative, DWORD attributes) const {
    return SetFileAttributesA((installed_ + "\\" + relative).c_str(), attributes) != 0;
  }
  static bool Hidden(const std::string& path) {
    return (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
  }
  void RemoveFiles(const std::vector<std::string>& lines, LogKind only = LogKind::None) {
    RemoveLoggedFiles(Log(lines).c_str(), installed_.c_str(), only);
  }
  // The installed folder's tree, the log left out.
  Tree Installed() const {
    Tree tree = TreeOf(installed_);
    tree.erase(std::remove(tree.begin(), tree.end(), std::string("log.txt")), tree.end());
    return tree;
  }

  TestFolder root_;
  std::string installed_ = root_ / "Orvelle 6";
  std::string log_ = installed_ + "\\log.txt";
};

TEST_F(LogReplayTest, EachFileKindDeletesItsFilesAndOtherLinesNothing) {
  Files({"copy.dll", "x64.dll", "ind.dll", "over.ini", "del.dll", "remark.dll", "blanks.dll", "lower.dll",
         "indented.dll", "File Copy:", "keep.txt"});
  RemoveFiles({
      "File Copy: copy.dll",
      "File Copy x64: x64.dll",
      "File Copy ind: ind.dll",
      "File Overwrite: over.ini",
      "File Del: del.dll",
      "File Del: remark.dll | left over from 5.2",
      "File Copy: blanks.dll \t ",
      "file copy: lower.dll",
      "  File Copy: indented.dll",
      "File Copy: ",  // the prefix alone: stripped to "File Copy:", no entry
      "; File Copy: keep.txt",
  });
  EXPECT_EQ(Installed(), (Tree{"File Copy:", "indented.dll", "keep.txt", "lower.dll"}));
}

TEST_F(LogReplayTest, StarDotStarDeletesFilesButNeverSubFolders) {
  Files({"a.dll", "b.txt", "noext", "readonly.dll", "hidden.dll", "sub\\inner.dll", "sub.dir\\inner.txt"});
  ASSERT_TRUE(Attributes("readonly.dll", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(Attributes("hidden.dll", FILE_ATTRIBUTE_HIDDEN));
  // Folders matched by the pattern keep their attributes, and so does the
  // folder above the installed one (reached through the ".." entry). Wine
  // keeps no read-only bit on folders; the hidden bit it keeps.
  ASSERT_TRUE(Attributes("sub.dir", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA(root_.Path().c_str(), FILE_ATTRIBUTE_HIDDEN));

  EXPECT_EQ(DeleteFilesByPattern("*.*", installed_), 5);

  EXPECT_EQ(Installed(), (Tree{"sub.dir\\", "sub.dir\\inner.txt", "sub\\", "sub\\inner.dll"}));
  EXPECT_TRUE(Hidden(installed_ + "\\sub.dir"));
  EXPECT_TRUE(Hidden(root_.Path()));
  SetFileAttributesA(root_.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(LogReplayTest, ExactNamesDeleteProtectedFilesButNeverFolders) {
  Files({"readonly.dll", "hidden.dll", "both.dll", "sub\\inner.dll"});
  ASSERT_TRUE(Attributes("readonly.dll", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(Attributes("hidden.dll", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(Attributes("both.dll", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(Attributes("sub", FILE_ATTRIBUTE_HIDDEN));
  struct Case { const char* pattern; int deleted; };
  const Case cases[] = {
      {"readonly.dll", 1}, {"hidden.dll", 1}, {"both.dll", 1}, {"absent.dll", 0},
      {"sub", 0},  // a folder of that name is neither deleted nor changed
      {"sub\\", 0}, {"SUB/INNER.DLL", 1}, {"sub\\inner.dll", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(DeleteFilesByPattern(c.pattern, installed_), c.deleted) << c.pattern;
  EXPECT_EQ(Installed(), (Tree{"sub\\"}));
  EXPECT_TRUE(Hidden(installed_ + "\\sub"));
}

TEST_F(LogReplayTest, PatternsWithASubFolderPartStayInThatSubFolder) {
  // Both separators reach into the sub-folder, for the search and for the
  // deletion: a name found there never deletes its namesake above.
  Files({"a.flt", "b.flt", "plugins\\a.flt", "plugins\\b.flt", "plugins\\c.txt", "filters\\b.flt"});
  RemoveFiles({"File Copy: plugins\\a.flt", "File Copy: plugins/*.flt"});
  EXPECT_EQ(Installed(), (Tree{"a.flt", "b.flt", "filters\\", "filters\\b.flt", "plugins\\", "plugins\\c.txt"}));

  // The folder may end with either separator or none.
  Files({"plugins\\d.flt"});
  EXPECT_EQ(DeleteFilesByPattern("plugins\\d.flt", installed_ + "\\"), 1);
  Files({"plugins\\d.flt"});
  EXPECT_EQ(DeleteFilesByPattern("plugins\\d.flt", installed_ + "/"), 1);
}

TEST_F(LogReplayTest, RenamingPairDeletesOnlyItsTarget) {
  Files({"viewer.cfg", "settings.cfg", "a.txt", "b.txt"});
  RemoveFiles({"File Copy: viewer.cfg > settings.cfg", "File Copy: a.txt>  \tb.txt | remark > more"});
  EXPECT_EQ(Installed(), (Tree{"a.txt", "viewer.cfg"}));
}

TEST_F(LogReplayTest, RemarksAreCutOnlyFromFileKinds) {
  Files({"old.dll", "x"});
  Folders({"a"});
  // A remark that starts at the prefix's own blank leaves no spec at all;
  // "Make Dir: " keeps the whole name, so folder "a" is not the one meant.
  RemoveFiles({"File Del: old.dll | obsolete since 6.1", "File Copy: | x", "Make Dir: a | b"});
  EXPECT_EQ(Installed(), (Tree{"a\\", "x"}));
}

TEST_F(LogReplayTest, MakeDirFoldersGoWhenEmptyParentAttemptedBeforeChild) {
  Folders({"data\\cache", "empty", "full"});
  Files({"full\\user.txt"});
  RemoveFiles({"Make Dir: data", "Make Dir: data\\cache", "Make Dir: empty", "Make Dir: full", "Make Dir: missing"});
  EXPECT_EQ(Installed(), (Tree{"data\\", "full\\", "full\\user.txt"}));
}

TEST_F(LogReplayTest, GivenPrefixRestrictsTheFilesButNotTheFolders) {
  Files({"copied.dll", "old.dll", "over.ini", "sub\\copied.txt"});
  Folders({"emptied"});
  RemoveFiles({"File Copy: copied.dll", "File Del: old.dll", "File Overwrite: over.ini", "File Copy: sub\\*.*",
               "Make Dir: sub", "Make Dir: emptied"},
              LogKind::FileDel);
  EXPECT_EQ(Installed(), (Tree{"copied.dll", "over.ini", "sub\\", "sub\\copied.txt"}));
}

TEST_F(LogReplayTest, FilesAlreadyGoneCountNothing) {
  EXPECT_EQ(DeleteFilesByPattern("gone.dll", installed_), 0);
  EXPECT_EQ(DeleteFilesByPattern("*.dll", installed_), 0);
  EXPECT_EQ(DeleteFilesByPattern("nosuchfolder\\*.*", installed_), 0);
  Files({"one.dll", "two.dll"});
  EXPECT_EQ(DeleteFilesByPattern("*.dll", installed_), 2);
  // A missing log is no error.
  RemoveLoggedFiles((installed_ + "\\missing.log").c_str(), installed_.c_str());
  RemoveLoggedLinks((installed_ + "\\missing.log").c_str());
}

TEST_F(LogReplayTest, SpecsReachingOutsideTheInstalledFolderAreSkipped) {
  const std::string outside = root_ / "outside";
  MakeFolders(outside + "\\empty");
  ASSERT_TRUE(WriteFileBytes(outside + "\\victim.txt", "user data"));
  ASSERT_TRUE(WriteFileBytes(root_ / "victim.txt", "user data"));
  Files({"inside.txt", "sub\\inner.txt"});
  const std::string drive = root_.Path().substr(0, 2);  // "C:"
  const std::string rooted = root_.Path().substr(2);    // "\users\..."
  RemoveFiles({
      "File Del: " + outside + "\\victim.txt",
      "File Copy: " + rooted + "\\victim.txt",
      "File Copy: " + drive + rooted + "\\*.*",
      "File Copy x64: ..\\victim.txt",
      "File Copy ind: sub\\..\\..\\outside\\victim.txt",
      "File Overwrite: ../outside/*.*",
      "File Copy: x > ..\\victim.txt",
      "File Copy: .. \\victim.txt",
      "Make Dir: ..\\outside\\empty",
      "Make Dir: " + outside + "\\empty",
      "File Copy: inside.txt",
      "File Copy: sub\\..\\sub\\inner.txt | climbs but stays inside: still refused",
  });
  EXPECT_TRUE(PathExists(outside + "\\victim.txt"));
  EXPECT_TRUE(PathExists(root_ / "victim.txt"));
  EXPECT_TRUE(PathExists(outside + "\\empty"));
  EXPECT_EQ(Installed(), (Tree{"sub\\", "sub\\inner.txt"}));
}

// A path that does not fit is skipped whole; cut at 259 characters it would
// name another file, which must survive.
TEST_F(LogReplayTest, EntriesTooLongForAPathAreSkippedNotCut) {
  // A folder of 248 characters (the longest one CreateDirectoryA makes).
  std::string deep = installed_;
  while (deep.size() < 248) deep += "\\" + std::string(std::min<std::size_t>(60, 247 - deep.size()), 'd');
  deep.resize(248);
  MakeFolders(deep);
  ASSERT_TRUE(PathExists(deep)) << deep.size();

  // Shortcut: the 259-character head of the logged path is a shortcut too.
  const std::string head = deep + "\\" + std::string(259 - deep.size() - 5, 's') + ".lnk";
  ASSERT_EQ(head.size(), 259u);
  ASSERT_TRUE(WriteFileBytes(head, "shortcut"));
  ASSERT_TRUE(WriteLog(log_, {"Shell Link: " + head + "\\x.lnk"}));
  RemoveLoggedLinks(log_.c_str());
  EXPECT_TRUE(PathExists(head));

  // Pattern: the search path's head would match "p" + 9 characters.
  const std::string name = std::string(259 - deep.size() - 1, 'p');
  ASSERT_TRUE(WriteFileBytes(deep + "\\" + name, "keep"));
  EXPECT_EQ(DeleteFilesByPattern(name + "x", deep), 0);
  EXPECT_EQ(DeleteFilesByPattern(name, deep), 1) << "a path of exactly 259 characters is fine";
}

TEST_F(LogReplayTest, FoundNamesTooLongForAPathAreSkippedNotCut) {
  std::string deep = installed_;
  while (deep.size() < 200) deep += "\\" + std::string(std::min<std::size_t>(60, 199 - deep.size()), 'd');
  deep.resize(200);
  MakeFolders(deep);
  // A 70-character name makes a path of 271 characters; only the wide API with
  // "\\?\" creates it. Its 259-character head is another file of the folder.
  const std::string longName = "keep" + std::string(60, 'k') + "long.x";
  const std::string headName = longName.substr(0, 259 - deep.size() - 1);
  ASSERT_TRUE(WriteFileBytes(deep + "\\" + headName, "keep"));
  std::wstring wide =
      L"\\\\?\\" + std::wstring(deep.begin(), deep.end()) + L"\\" + std::wstring(longName.begin(), longName.end());
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  EXPECT_EQ(DeleteFilesByPattern("keep*.x", deep), 0);
  EXPECT_TRUE(PathExists(deep + "\\" + headName));
  DeleteFileW(wide.c_str());
}

class LinkReplayTest : public LogReplayTest {
 protected:
  void SetUp() override {
    LogReplayTest::SetUp();
    MakeFolders(programs_);
  }
  void RemoveLinks(const std::vector<std::string>& lines) { RemoveLoggedLinks(Log(lines).c_str()); }
  Tree Programs() const { return TreeOf(programs_); }

  std::string programs_ = root_ / "Programs";
};

TEST_F(LinkReplayTest, ShortcutsGoAndTheirGroupWithEmptyParents) {
  const std::string group = programs_ + "\\Tamberlin\\Orvelle 6";
  MakeFolders(group);
  MakeFolders(programs_ + "\\Other");
  for (const char* link : {"\\Orvelle 6.lnk", "\\Aide.LNK", "\\readonly.lnk"})
    ASSERT_TRUE(WriteFileBytes(group + link, "shortcut"));
  ASSERT_TRUE(SetFileAttributesA((group + "\\readonly.lnk").c_str(), FILE_ATTRIBUTE_READONLY));
  // "Made Dir: " first: every shortcut goes before any folder is tried.
  RemoveLinks({"Made Dir: " + group, "Shell Link: " + group + "\\Orvelle 6.lnk", "Shell Link: " + group + "\\Aide.LNK",
               "Shell Link: " + group + "\\readonly.lnk"});
  // The read-only shortcut stays, and with it its folder and all parents.
  EXPECT_EQ(Programs(),
            (Tree{"Other\\", "Tamberlin\\", "Tamberlin\\Orvelle 6\\", "Tamberlin\\Orvelle 6\\readonly.lnk"}));

  SetFileAttributesA((group + "\\readonly.lnk").c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveLinks({"Shell Link: " + group + "\\readonly.lnk", "Made Dir: " + group + "\\"});
  // "Tamberlin" was never logged: empty, it goes too; "Programs" holds "Other".
  EXPECT_EQ(Programs(), (Tree{"Other\\"}));
}

TEST_F(LinkReplayTest, GroupHoldingAUsersShortcutStaysWithItsParents) {
  const std::string group = programs_ + "\\Tamberlin\\Orvelle 6";
  MakeFolders(group);
  ASSERT_TRUE(WriteFileBytes(group + "\\Orvelle 6.lnk", "shortcut"));
  ASSERT_TRUE(WriteFileBytes(group + "\\Mine.lnk", "the user's"));
  RemoveLinks({"Shell Link: " + group + "\\Orvelle 6.lnk", "Made Dir: " + group});
  EXPECT_EQ(Programs(), (Tree{"Tamberlin\\", "Tamberlin\\Orvelle 6\\", "Tamberlin\\Orvelle 6\\Mine.lnk"}));
}

TEST_F(LinkReplayTest, ShellLinkEntriesDeleteShortcutsOnly) {
  ASSERT_TRUE(WriteFileBytes(programs_ + "\\notes.txt", "user data"));
  ASSERT_TRUE(WriteFileBytes(programs_ + "\\app.exe", "a program"));
  ASSERT_TRUE(WriteFileBytes(programs_ + "\\x.lnk.txt", "user data"));
  ASSERT_TRUE(WriteFileBytes(programs_ + "\\x.lnk", "shortcut"));
  RemoveLinks({"Shell Link: " + programs_ + "\\notes.txt", "Shell Link: " + programs_ + "\\app.exe",
               "Shell Link: " + programs_ + "\\x.lnk.txt", "Shell Link: " + programs_ + "\\*.lnk",
               "Shell Link: " + programs_ + "\\x.lnk"});
  EXPECT_EQ(Programs(), (Tree{"app.exe", "notes.txt", "x.lnk.txt"}));
}

}  // namespace
