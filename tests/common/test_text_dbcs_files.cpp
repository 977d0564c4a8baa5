// The text helpers' results name real files under code page 932: the part of
// the double-byte tests that needs the Windows file system.
#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "common/text.h"
#include "gtest/gtest.h"
#include "support/test_folders.h"

namespace {

constexpr char kSo[] = "\x83\x5C";   // katakana so
constexpr char kHyo[] = "\x95\x5C";  // hyo, "table"

TEST(DbcsFilesTest, PathsWorkOnTheFileSystem) {
  ASSERT_EQ(AnsiCodePage(), 932u);
  TestFolder root;
  const std::string folder = root / kSo;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string file = folder + "\\" + kHyo + ".txt";
  ASSERT_TRUE(WriteFileBytes(file, "x"));

  EXPECT_EQ(FolderPart(file), folder);
  EXPECT_EQ(ParentFolder(file), folder);
  EXPECT_EQ(ParentFolder(folder + "\\"), root.Path());
  std::string withSeparators = folder + "\\ ";
  EXPECT_EQ(TrimSeparators(withSeparators), folder);

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((FolderPart(file) + "\\*.txt").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_EQ(std::string(found.cFileName), NamePart(file));
}

}  // namespace
