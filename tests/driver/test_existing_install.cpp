// The earlier installation's folder, the default Program Files folder, file
// versions and their comparison value, read from the test prefix's real
// registry and from built executables.
#include <windows.h>

#include <cstring>
#include <string>

#include "common/names.h"
#include "common/registry.h"
#include "driver/existing_install.h"
#include "driver/version_value.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/platform_override.h"
#include "support/test_folders.h"

namespace {

std::string Show(const FileVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.third) + "." +
         std::to_string(v.fourth);
}

// Null: the value is removed.
void SetValue(const char* subkey, const char* name, const char* text) {
  if (text)
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, subkey, name, text));
  else
    DeleteValue(HKEY_LOCAL_MACHINE, subkey, name);
}

TEST(FindInstalledFolderTest, PathValueFirstThenAppPaths) {
  struct Case {
    const char* path;     // "Path" of the product key
    const char* appPath;  // default value of the App Paths entry
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Apps\\Orvelle 6\\", nullptr, "C:\\Apps\\Orvelle 6"},
      {"C:\\Apps\\Orvelle 6", nullptr, "C:\\Apps\\Orvelle 6"},
      {"C:\\Apps\\Orvelle 6\\\\", nullptr, "C:\\Apps\\Orvelle 6\\"},  // only one backslash goes
      {"D:\\Orvelle", "C:\\Apps\\Orvelle 6\\OrvPix6.exe", "D:\\Orvelle"},
      {nullptr, "C:\\Apps\\Orvelle 6\\OrvPix6.exe", "C:\\Apps\\Orvelle 6"},
      {"", "C:\\Apps\\Orvelle 6\\OrvPix6.exe", "C:\\Apps\\Orvelle 6"},
      {nullptr, "C:\\Apps\\Orvelle 6\\orvpix6.exe", ""},
      {nullptr, "C:\\Apps\\OrvPix6.exe\\OrvPix6.exe", "C:\\Apps"},  // the first occurrence
      {nullptr, "OrvPix6.exe", ""},
      {nullptr, "C:\\Apps\\Orvelle 6\\Viewer.exe", ""},
      {nullptr, nullptr, ""},
      {"D:\\", nullptr, "D:\\"},  // a drive root keeps its backslash
      {"D:", nullptr, "D:\\"},    // as an earlier version registered it after a repair
      {nullptr, "D:\\OrvPix6.exe", "D:\\"},
      {"D:Orvelle", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path ? c.path : "(none)") + " | " + (c.appPath ? c.appPath : "(none)"));
    SetValue(names::kProductKey, names::kPathValue, c.path);
    SetValue(names::kAppPathKey, nullptr, c.appPath);
    EXPECT_EQ(FindInstalledFolder(), c.expected);
  }
}

// Stands in for GetWindowsDirectoryA.
const char* g_windowsFolder = nullptr;
UINT WINAPI FakeWindowsFolder(LPSTR buffer, UINT size) {
  if (!g_windowsFolder) return 0;
  const UINT length = static_cast<UINT>(std::strlen(g_windowsFolder));
  if (length >= size) return length + 1;
  std::memcpy(buffer, g_windowsFolder, length + 1);
  return length;
}

class ProgramFilesFolderTest : public testing::Test {
 protected:
  PlatformOverride<ExistingInstallCalls> windowsFolder_{ExistingInstallPlatform(), {&FakeWindowsFolder}};
};

TEST_F(ProgramFilesFolderTest, RegistryValueElseDriveOfTheWindowsFolder) {
  const std::string tooLong(300, 'W');
  struct Case {
    const char* registry;  // "ProgramFilesDir"; null: missing
    const char* windows;   // the Windows folder; null: the call fails
    const char* expected;
  };
  const Case cases[] = {
      {"E:\\Programmes", "C:\\WINDOWS", "E:\\Programmes"},
      {"E:\\Programmes\\", "C:\\WINDOWS", "E:\\Programmes"},
      {nullptr, "D:\\WINNT", "D:\\Program Files"},
      {"", "D:\\WINNT", "D:\\Program Files"},
      {nullptr, "C:\\", "C:\\Program Files"},
      {nullptr, "WINNT", "WINNTProgram Files"},
      {nullptr, nullptr, "Program Files"},
      {nullptr, tooLong.c_str(), "Program Files"},  // never cut into a shorter folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.registry ? c.registry : "(none)") + " | " + (c.windows ? c.windows : "(fails)"));
    SetValue(names::kCurrentVersionKey, names::kProgramFilesDirValue, c.registry);
    g_windowsFolder = c.windows;
    EXPECT_EQ(ProgramFilesFolder(), c.expected);
  }
}

TEST(ProgramFilesFolderRealTest, WindowsFolderOfThePrefix) {
  DeleteValue(HKEY_LOCAL_MACHINE, names::kCurrentVersionKey, names::kProgramFilesDirValue);
  EXPECT_EQ(ProgramFilesFolder(), "C:\\Program Files");
}

TEST(ReadFileVersionTest, FileVersionOfBuiltExecutables) {
  struct Case { const char* standIn; FileVersion expected; };
  const Case cases[] = {
      {"6.1.2.3", {6, 1, 2, 3}},  // its product version is 7.0.0.0
      {"6.1.2.10", {6, 1, 2, 10}},
      {"6.70.1.3", {6, 70, 1, 3}},
      {"0.5.0.0", {0, 5, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.standIn);
    EXPECT_EQ(Show(ReadFileVersion(StandInPath(c.standIn))), Show(c.expected));
  }
}

TEST(ReadFileVersionTest, NoVersionReadsAsZero) {
  TestFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder / "OrvPix6.exe", "MZ not really a program"));
  const std::string deep = folder.Path() + "\\" + std::string(250, 'd') + "\\OrvPix6.exe";
  const std::string cases[] = {
      folder / "missing.exe",
      folder / "OrvPix6.exe",
      ProgramFolder() + "\\recorder.exe",  // a program without a version resource
      deep,
      "",
  };
  for (const std::string& path : cases) {
    SCOPED_TRACE(path);
    const FileVersion version = ReadFileVersion(path);
    EXPECT_EQ(Show(version), "0.0.0.0");
    EXPECT_EQ(VersionValue(version), 0u);
  }
}

}  // namespace
