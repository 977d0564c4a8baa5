// The earlier installation's folder under code page 932, where the trail byte
// of a double-byte character can be 0x5C, the backslash.
#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "common/names.h"
#include "common/registry.h"
#include "driver/existing_install.h"
#include "gtest/gtest.h"

namespace {

constexpr char kSo[] = "\x83\x5C";  // katakana so: its trail byte is the backslash code

TEST(FindInstalledFolderDbcsTest, TrailBytesAreNotBackslashes) {
  ASSERT_EQ(AnsiCodePage(), 932u);
  struct Case {
    std::string path;     // "Path"; empty: missing
    std::string appPath;  // App Paths default value
    std::string expected;
  };
  const std::string apps = std::string("C:\\Apps\\") + kSo;
  const Case cases[] = {
      {apps, "", apps},  // ends in a trail byte 0x5C: nothing is removed
      {apps + "\\", "", apps},
      {"", apps + "OrvPix6.exe\\OrvPix6.exe", apps + "OrvPix6.exe"},
      {"", apps + "OrvPix6.exe", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " | " + c.appPath);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, names::kProductKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, names::kAppPathKey);
    if (!c.path.empty())
      ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue, c.path));
    if (!c.appPath.empty())
      ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, names::kAppPathKey, nullptr, c.appPath));
    EXPECT_EQ(FindInstalledFolder(), c.expected);
  }
}

}  // namespace
