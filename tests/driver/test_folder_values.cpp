// The folders taken from registry values and from the Windows folder.
// Portable: also built natively with the sanitizers.
#include <string>

#include "driver/folder_values.h"
#include "gtest/gtest.h"

namespace {

TEST(FolderValuesTest, FolderOfAppPath) {
  const struct {
    const char* appPath;
    const char* folder;
  } cases[] = {
      {"C:\\Apps\\Orvelle 6\\OrvPix6.exe", "C:\\Apps\\Orvelle 6"},
      {"C:\\Apps\\Orvelle 6\\orvpix6.exe", ""},  // matched in that case only
      {"C:\\A\\OrvPix6.exe\\OrvPix6.exe", "C:\\A"},  // the first occurrence
      {"C:\\A\\OrvPix6.exe.bak", "C:\\A"},
      {"OrvPix6.exe", ""},                        // no backslash before it
      {"\\OrvPix6.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOfAppPath(c.appPath), c.folder) << c.appPath;
}

TEST(FolderValuesTest, OneTrailingBackslashRemoved) {
  const struct {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"C:\\Apps\\Orvelle 6\\", "C:\\Apps\\Orvelle 6"},
      {"C:\\Apps\\Orvelle 6", "C:\\Apps\\Orvelle 6"},
      {"C:\\Apps\\\\", "C:\\Apps\\"},
      {"C:\\Apps/", "C:\\Apps/"},  // only a backslash
      {"\\", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutTrailingBackslash(c.folder), c.expected) << c.folder;
}

TEST(FolderValuesTest, ProgramFilesOfTheWindowsFolder) {
  const struct {
    const char* windows;
    const char* programFiles;
  } cases[] = {
      {"C:\\WINDOWS", "C:\\Program Files"},
      {"D:\\WINNT", "D:\\Program Files"},
      {"C:\\", "C:\\Program Files"},
      {"E:\\Sys\\Windows", "E:\\Program Files"},
      {"C:", "C:Program Files"},  // no backslash: appended to the whole
      {"", "Program Files"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramFilesOfWindowsFolder(c.windows), c.programFiles) << c.windows;
}

// Registry values up to the longest a 260-byte buffer holds.
TEST(FolderValuesTest, LongValuesAt258To261Characters) {
  for (std::size_t length : {258u, 259u, 260u, 261u}) {
    SCOPED_TRACE(length);
    const std::string folder = "C:\\" + std::string(length - 4, 'f') + "\\";
    ASSERT_EQ(folder.size(), length);
    EXPECT_EQ(WithoutTrailingBackslash(folder), folder.substr(0, length - 1));
    const std::string appPath = folder + "OrvPix6.exe";
    EXPECT_EQ(FolderOfAppPath(appPath), folder.substr(0, length - 1));
  }
}

}  // namespace
