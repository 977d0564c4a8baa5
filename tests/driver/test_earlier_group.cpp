// The program group of an earlier installation, recovered from its logs with
// the test prefix's Shell Folders values set to known folders.
#include <windows.h>

#include <string>

#include "common/names.h"
#include "common/registry.h"
#include "driver/earlier_group.h"
#include "gtest/gtest.h"
#include "support/test_folders.h"

namespace {

constexpr char kPrograms[] = "C:\\Profile\\Start Menu\\Programs";
constexpr char kStartup[] = "C:\\Profile\\Start Menu\\Programs\\StartUp";
constexpr char kCommonPrograms[] = "C:\\All Users\\Start Menu\\Programs";
constexpr char kCommonStartup[] = "C:\\All Users\\Start Menu\\Programs\\StartUp";

std::string Link(const std::string& path) { return "Shell Link: " + path + "\r\n"; }

class EarlierGroupTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kProgramsValue, kPrograms));
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kStartupValue, kStartup));
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, names::kShellFoldersKey, names::kCommonProgramsValue,
                                    kCommonPrograms));
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, names::kShellFoldersKey, names::kCommonStartupValue,
                                    kCommonStartup));
  }
  // Writes the logs of the installed folder; null removes one.
  void Logs(const char* uninstallLog, const char* oldLog) {
    for (auto [name, text] : {std::pair{names::kUninstallLog, uninstallLog}, std::pair{names::kOldLog, oldLog}}) {
      const std::string path = folder_ / name;
      DeleteFileA(path.c_str());
      if (text) ASSERT_TRUE(WriteFileBytes(path, text));
    }
  }
  TestFolder folder_;
};

TEST_F(EarlierGroupTest, LastShortcutInTheProgramsFolderOutsideStartup) {
  const std::string programs = kPrograms;
  const std::string common = kCommonPrograms;
  const std::string usual = "File Copy: OrvPix6.exe\r\n\r\nMade Dir: " + programs + "\\Tools\\Orvelle 6\r\n" +
                            Link(programs + "\\Tools\\Orvelle 6\\Orvelle 6.lnk") +
                            Link(programs + "\\Tools\\Orvelle 6\\Lisez-moi.lnk") +
                            Link("C:\\Profile\\Desktop\\Orvelle 6.lnk") +
                            Link(std::string(kStartup) + "\\Orvelle 6.lnk");
  struct Case {
    const char* name;
    bool allUsers;
    std::string uninstallLog;  // "-": no such file
    std::string oldLog;
    const char* expected;
  };
  const Case cases[] = {
      {"startup line last is passed over", false, usual, "-", "Tools\\Orvelle 6"},
      {"directly in Programs", false, Link(programs + "\\Orvelle 6.lnk"), "-", ""},
      {"deeper group", false, Link(programs + "\\A\\B\\C\\x.lnk"), "-", "A\\B\\C"},
      {"the last line decides", false, Link(programs + "\\First\\x.lnk") + Link(programs + "\\Second\\x.lnk"), "-",
       "Second"},
      {"other case: group as written", false, Link("c:\\PROFILE\\start menu\\PROGRAMS\\Outils\\Orvelle 6\\x.lnk"),
       "-", "Outils\\Orvelle 6"},
      {"the other user's folder", false, Link(common + "\\Shared\\x.lnk"), "-", "Orvelle 6"},
      {"all users", true, Link(programs + "\\Mine\\x.lnk") + Link(common + "\\Shared\\x.lnk"), "-", "Shared"},
      {"all users, startup", true, Link(common + "\\Shared\\x.lnk") + Link(std::string(kCommonStartup) + "\\x.lnk"),
       "-", "Shared"},
      {"prefix in other case", false, "shell link: " + programs + "\\Tools\\x.lnk\r\n", "-", "Orvelle 6"},
      {"prefix after blanks", false, "  " + Link(programs + "\\Tools\\x.lnk"), "-", "Orvelle 6"},
      {"trailing blanks and tab", false, "Shell Link: " + programs + "\\Tools\\x.lnk \t\r\n", "-", "Tools"},
      {"no shortcut lines", false, "File Copy: OrvPix6.exe\r\n", "-", "Orvelle 6"},
      {"old log when the uninstall log is missing", false, "-", Link(programs + "\\Old\\x.lnk"), "Old"},
      {"the uninstall log first", false, Link(programs + "\\New\\x.lnk"), Link(programs + "\\Old\\x.lnk"), "New"},
      {"an empty uninstall log still counts", false, "", Link(programs + "\\Old\\x.lnk"), "Orvelle 6"},
      {"no log at all", false, "-", "-", "Orvelle 6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Logs(c.uninstallLog == "-" ? nullptr : c.uninstallLog.c_str(), c.oldLog == "-" ? nullptr : c.oldLog.c_str());
    EXPECT_EQ(RecoverProgramGroup(folder_.Path(), c.allUsers, "Orvelle 6"), c.expected);
  }
}

TEST_F(EarlierGroupTest, UnreadableStartupFolderKeepsTheDefault) {
  Logs(Link(std::string(kPrograms) + "\\Tools\\Orvelle 6\\x.lnk").c_str(), nullptr);
  ASSERT_EQ(RecoverProgramGroup(folder_.Path(), false, "Orvelle 6"), "Tools\\Orvelle 6");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, names::kShellFoldersKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegDeleteValueA(key, names::kStartupValue);
  RegCloseKey(key);
  EXPECT_EQ(RecoverProgramGroup(folder_.Path(), false, "Orvelle 6"), "Orvelle 6");
}

TEST_F(EarlierGroupTest, ProgramsFolderWithOrWithoutTrailingBackslash) {
  Logs(Link(std::string(kPrograms) + "\\Tools\\x.lnk").c_str(), nullptr);
  for (const std::string& programs : {std::string(kPrograms), std::string(kPrograms) + "\\"}) {
    SCOPED_TRACE(programs);
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kProgramsValue, programs));
    EXPECT_EQ(RecoverProgramGroup(folder_.Path(), false, "Orvelle 6"), "Tools");
  }
  // A folder whose name only begins like the Programs folder is not inside it.
  Logs(Link(std::string(kPrograms) + "Old\\Tools\\x.lnk").c_str(), nullptr);
  EXPECT_EQ(RecoverProgramGroup(folder_.Path(), false, "Orvelle 6"), "Orvelle 6");
}

}  // namespace
