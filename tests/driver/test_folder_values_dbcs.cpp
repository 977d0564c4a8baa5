// Folders from registry values under code page 932, where a trail byte can
// equal the backslash code. Portable: natively the code page is the native
// model's 932.
#include <string>

#include "common/codepage.h"
#include "driver/folder_values.h"
#include "gtest/gtest.h"

namespace {

constexpr char kSo[] = "\x83\x5C";  // katakana so: its trail byte is the backslash code

class FolderValuesDbcsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u); }
};

TEST_F(FolderValuesDbcsTest, TrailBytesAreNotBackslashes) {
  const std::string apps = std::string("C:\\Apps\\") + kSo;
  EXPECT_EQ(WithoutTrailingBackslash(apps), apps);
  EXPECT_EQ(WithoutTrailingBackslash(apps + "\\"), apps);
  // "so" followed by "OrvPix6.exe": its trail byte does not begin "\OrvPix6.exe".
  EXPECT_EQ(FolderOfAppPath(apps + "OrvPix6.exe"), "");
  EXPECT_EQ(FolderOfAppPath(apps + "OrvPix6.exe\\OrvPix6.exe"), apps + "OrvPix6.exe");
  EXPECT_EQ(ProgramFilesOfWindowsFolder(std::string("C") + kSo + "\\W"), std::string("C") + kSo + "\\Program Files");
}

}  // namespace
