// Log replay under ANSI code page 932, where "\x83\x5C" (katakana "so") ends
// with the backslash code as its trail byte: it must never be taken for a
// separator.
#include <windows.h>

#include <string>
#include <vector>

#include "common/codepage.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/test_folders.h"
#include "uninstall/log_replay.h"

namespace {

using Tree = std::vector<std::string>;
constexpr char kSo[] = "\x83\x5C";

TEST(LogReplayDbcsTest, RunsUnderCodePage932) { ASSERT_EQ(AnsiCodePage(), 932u); }

TEST(LogReplayDbcsTest, TrailByteIsNeitherAFolderEndNorASubFolderPart) {
  TestFolder root;
  const std::string folder = root / (std::string("Orvelle") + kSo);  // no trailing backslash
  MakeFolders(folder + "\\" + kSo);
  for (const std::string& name : {std::string("a.txt"), std::string(kSo) + "b.txt", std::string(kSo) + "\\c.txt"})
    ASSERT_TRUE(WriteFileBytes(folder + "\\" + name, "x")) << name;

  EXPECT_EQ(DeleteFilesByPattern("a.txt", folder), 1);
  EXPECT_EQ(DeleteFilesByPattern(std::string(kSo) + "*.txt", folder), 1);
  EXPECT_EQ(DeleteFilesByPattern(std::string(kSo) + "\\*.txt", folder), 1);
  EXPECT_EQ(TreeOf(folder), (Tree{std::string(kSo) + "\\"}));
}

TEST(LogReplayDbcsTest, LoggedEntriesWithDoubleByteNames) {
  TestFolder root;
  const std::string installed = root / "Orvelle 6";
  const std::string group = root / (std::string("Programs\\") + kSo + "\\Orvelle 6");
  MakeFolders(installed + "\\" + kSo + "data");
  MakeFolders(group);
  MakeFolders(root / "Programs\\Other");
  ASSERT_TRUE(WriteFileBytes(installed + "\\" + kSo + ".dll", "x"));
  ASSERT_TRUE(WriteFileBytes(installed + "\\" + kSo + "data\\" + kSo + ".txt", "x"));
  ASSERT_TRUE(WriteFileBytes(group + "\\" + kSo + ".lnk", "shortcut"));
  const std::string log = installed + "\\OrvUnInst.log";
  ASSERT_TRUE(WriteLog(
      log,
      {std::string("File Copy: x.dll > ") + kSo + ".dll", std::string("File Copy: ") + kSo + "data\\" + kSo + ".txt",
       std::string("Make Dir: ") + kSo + "data", "Made Dir: " + group, "Shell Link: " + group + "\\" + kSo + ".lnk"}));

  RemoveLoggedLinks(log.c_str());
  RemoveLoggedFiles(log.c_str(), installed.c_str());
  EXPECT_EQ(TreeOf(installed), (Tree{"OrvUnInst.log"}));
  EXPECT_EQ(TreeOf(root / "Programs"), (Tree{"Other\\"}));
}

}  // namespace
