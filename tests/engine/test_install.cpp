// The installation procedure from a package folder into the installed folder
// of the test's prefix: files, uninstall log, program group, shortcuts,
// registry values and site files, for first installations and
// re-installations.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/registry.h"
#include "engine/install.h"
#include "engine_fixture.h"

namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const std::vector<std::string> kScript = {
    "Orvelle 6 test package",
    "File Copy: OrvPix6.exe",
    "File Copy: OrvUnInst.exe",
    "File Copy: OrvPix6Man.chm",
    "File Copy: readme.txt",
    "Make Dir: Filters",
    "File Copy: Filters\\*.flt",
    "File Del: OrvPix5.hlp | the manual of Orvelle 5",
};

// The four shortcut names of the program group (French string table).
const char* const kGroupLinks[] = {"Orvelle 6.lnk", "Orvelle 6 - Aide.lnk", "Informations sur Orvelle 6.lnk",
                                   "X  D\xE9sinstaller Orvelle 6.lnk"};

class InstallProcedure : public EngineTest {
 protected:
  InstallProcedure() {
    CreateDirectoryA(Package("Filters").c_str(), nullptr);
    for (const char* name : {"OrvPix6.exe", "OrvUnInst.exe", "OrvPix6Man.chm", "readme.txt", "Filters\\sepia.flt"})
      AddPackageFile(name);
    WriteScript(kScript);
    SetEnvironmentVariableA("sfxname", nullptr);
  }

  static std::string Place(HKEY root, const char* value) { return ShellFolder(root, value); }
  static std::string UserPrograms() { return Place(HKEY_CURRENT_USER, "Programs"); }

  std::vector<std::string> Log() const { return ReadLines(Installed("OrvUnInst.log")); }

  // What the log holds after the script: the empty line, the group and the
  // shortcuts, in this order.
  static std::vector<std::string> LogAfterScript(const std::vector<std::string>& script, const std::string& group,
                                                 const std::vector<std::string>& links) {
    std::vector<std::string> lines = script;
    lines.push_back("");
    lines.push_back("Made Dir: " + group);
    for (const std::string& link : links) lines.push_back("Shell Link: " + link);
    return lines;
  }
  static std::vector<std::string> GroupLinks(const std::string& group) {
    std::vector<std::string> links;
    for (const char* name : kGroupLinks) links.push_back(group + "\\" + name);
    return links;
  }
};

TEST_F(InstallProcedure, FirstInstallation) {
  Install();
  EXPECT_EQ(TreeOf(InstallOptions.destinationFolder),
            (std::vector<std::string>{"Filters\\", "Filters\\sepia.flt", "OrvPix6.exe", "OrvPix6Man.chm",
                                      "OrvUnInst.exe", "OrvUnInst.log", "readme.txt"}));
  const std::string group = UserPrograms() + "\\Orvelle 6";
  EXPECT_EQ(Log(), LogAfterScript(kScript, group, GroupLinks(group)));
  // Lines written by the installer end in CR LF like the script's.
  EXPECT_NE(ReadFileBytes(Installed("OrvUnInst.log")).find("\r\n\r\nMade Dir: " + group + "\r\n"), std::string::npos);
  const char* const targets[] = {"OrvPix6.exe", "OrvPix6Man.chm", "readme.txt", "OrvUnInst.exe"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadShortcut(group + "\\" + kGroupLinks[i]).target, Installed(targets[i]));
  EXPECT_EQ(TreeOf(group).size(), 4u);
  EXPECT_FALSE(PathExists(Place(HKEY_CURRENT_USER, "Desktop") + "\\Orvelle 6.lnk"));
  EXPECT_FALSE(PathExists(Place(HKEY_CURRENT_USER, "Startup") + "\\Orvelle 6.lnk"));
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "Path"), InstallOptions.destinationFolder);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), "A");
}

TEST_F(InstallProcedure, ScriptWithoutFinalLineEndIsCompleted) {
  ASSERT_TRUE(WriteFileBytes(Package("OrvUnInst.log"), "Package\r\nFile Copy: readme.txt"));
  Install();
  const std::string group = UserPrograms() + "\\Orvelle 6";
  // The empty entry ends the last line: the group's line follows directly.
  std::vector<std::string> expected = {"Package", "File Copy: readme.txt", "Made Dir: " + group};
  for (const std::string& link : GroupLinks(group)) expected.push_back("Shell Link: " + link);
  EXPECT_EQ(Log(), expected);
  EXPECT_TRUE(PathExists(Installed("readme.txt")));
}

TEST_F(InstallProcedure, DesktopAndAutostartShortcuts) {
  struct Case {
    bool allUsers;
    HKEY root;
    const char* programs;
    const char* desktop;
    const char* startup;
    const char* allUsersValue;
  };
  const Case cases[] = {
      {false, HKEY_CURRENT_USER, "Programs", "Desktop", "Startup", "A"},
      {true, HKEY_LOCAL_MACHINE, "Common Programs", "Common Desktop", "Common Startup", "B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.programs);
    InstallOptions.allUsers = c.allUsers;
    InstallOptions.desktopIcon = true;
    InstallOptions.autoStart = true;
    Install();
    const std::string group = Place(c.root, c.programs) + "\\Orvelle 6";
    std::vector<std::string> links = GroupLinks(group);
    links.push_back(Place(c.root, c.desktop) + "\\Orvelle 6.lnk");
    links.push_back(Place(c.root, c.startup) + "\\Orvelle 6.lnk");
    EXPECT_EQ(Log(), LogAfterScript(kScript, group, links));
    for (const std::string& link : links) EXPECT_TRUE(ReadShortcut(link).loaded) << link;
    const ShortcutContents desktop = ReadShortcut(links[4]);
    EXPECT_EQ(desktop.target, Installed("OrvPix6.exe"));
    EXPECT_EQ(desktop.workingFolder, "%APPDATA%");
    EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), c.allUsersValue);
  }
}

TEST_F(InstallProcedure, AllUsersWithoutAnAllUsersProgramsFolderBecomesPerUser) {
  const char* const commonPrograms[] = {nullptr, "", "C:\\"};  // missing, empty, 3 characters
  for (const char* value : commonPrograms) {
    SCOPED_TRACE(value ? value : "missing");
    if (value) {
      SetValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", value);
    } else {
      RegKey key;
      ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kShellFolders, KEY_ALL_ACCESS));
      RegDeleteValueA(key.get(), "Common Programs");
    }
    InstallOptions.allUsers = true;
    InstallOptions.desktopIcon = true;
    InstallOptions.autoStart = true;
    Install();
    EXPECT_FALSE(InstallOptions.allUsers);
    const std::string group = UserPrograms() + "\\Orvelle 6";
    std::vector<std::string> links = GroupLinks(group);
    links.push_back(Place(HKEY_CURRENT_USER, "Desktop") + "\\Orvelle 6.lnk");
    links.push_back(Place(HKEY_CURRENT_USER, "Startup") + "\\Orvelle 6.lnk");
    EXPECT_EQ(Log(), LogAfterScript(kScript, group, links));
    EXPECT_FALSE(PathExists(Place(HKEY_LOCAL_MACHINE, "Common Desktop") + "\\Orvelle 6.lnk"));
    EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), "A");
  }
}

TEST_F(InstallProcedure, GroupNames) {
  struct Case { const char* given; const char* normalised; };
  const Case cases[] = {
      {"Tools/Orvelle 6", "Tools\\Orvelle 6"},
      {" \\Orvelle 6\\ ", "Orvelle 6"},
      {"\t/Orvelle 6/\r\n", "Orvelle 6"},
      {"Tamberlin\\Tools/Orvelle 6\\", "Tamberlin\\Tools\\Orvelle 6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    InstallOptions.programGroup = c.given;
    Install();
    EXPECT_EQ(InstallOptions.programGroup, c.normalised);
    const std::string group = UserPrograms() + "\\" + c.normalised;
    // Only the deepest level is logged; the outer ones exist.
    EXPECT_EQ(Log(), LogAfterScript(kScript, group, GroupLinks(group)));
    EXPECT_EQ(TreeOf(group).size(), 4u);
  }
}

TEST_F(InstallProcedure, GroupFolderThatCannotBeMadeStillLogsItsLine) {
  const std::string programs = root_ / "No such\\Programs";
  SetValue(HKEY_CURRENT_USER, kShellFolders, "Programs", programs);
  InstallOptions.desktopIcon = true;
  Install();
  EXPECT_FALSE(PathExists(programs));
  const std::string desktopLink = Place(HKEY_CURRENT_USER, "Desktop") + "\\Orvelle 6.lnk";
  EXPECT_EQ(Log(), LogAfterScript(kScript, programs + "\\Orvelle 6", {desktopLink}));
  EXPECT_TRUE(ReadShortcut(desktopLink).loaded);
}

TEST_F(InstallProcedure, MissingShellFoldersPutNothingInTheDriveRoot) {
  ASSERT_EQ(DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Programs"), ERROR_SUCCESS);
  ASSERT_EQ(DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop"), ERROR_SUCCESS);
  InstallOptions.desktopIcon = true;
  InstallOptions.autoStart = true;
  SetCurrentDirectoryA(root_.Path().c_str());
  Install();
  EXPECT_FALSE(PathExists("C:\\Orvelle 6"));
  EXPECT_FALSE(PathExists("C:\\Orvelle 6.lnk"));
  std::vector<std::string> expected = kScript;
  expected.push_back("");
  expected.push_back("Shell Link: " + Place(HKEY_CURRENT_USER, "Startup") + "\\Orvelle 6.lnk");
  EXPECT_EQ(Log(), expected);
}

TEST_F(InstallProcedure, SiteFilesComeFromTheFolderOfSfxname) {
  const std::string site = root_ / "Site";
  ASSERT_TRUE(CreateDirectoryA(site.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(site + "\\OrvPix6.ini", "[site]"));
  // A bare name has no folder: not even the current one is searched.
  SetCurrentDirectoryA(site.c_str());
  struct Case { const char* sfxname; bool copied; };
  const std::string archive = site + "\\orvelle6.exe";
  const Case cases[] = {{nullptr, false}, {"orvelle6.exe", false}, {archive.c_str(), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sfxname ? c.sfxname : "unset");
    RemoveTree(InstallOptions.destinationFolder);
    CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(Installed("OrvPix6.ini"), "earlier"));
    SetEnvironmentVariableA("sfxname", c.sfxname);
    Install();
    EXPECT_EQ(ReadFileBytes(Installed("OrvPix6.ini")), c.copied ? "[site]" : "earlier");
    EXPECT_FALSE(PathExists(Installed("OrvPix6.reg")));
    // Not logged: the log is the script and the lines of the group.
    const std::string group = UserPrograms() + "\\Orvelle 6";
    EXPECT_EQ(Log(), LogAfterScript(kScript, group, GroupLinks(group)));
  }
}

TEST_F(InstallProcedure, ReinstallationReplacesTheEarlierOne) {
  // The earlier installation: another group, a desktop shortcut, and an
  // older log of an older version with its own group.
  InstallOptions.programGroup = "Old Group";
  InstallOptions.desktopIcon = true;
  Install();
  const std::string oldGroup = UserPrograms() + "\\Old Group";
  const std::string desktopLink = Place(HKEY_CURRENT_USER, "Desktop") + "\\Orvelle 6.lnk";
  ASSERT_EQ(TreeOf(oldGroup).size(), 4u);
  const std::string olderGroup = UserPrograms() + "\\Tamberlin\\Orvelle 5";
  MakeFolders(olderGroup);
  ASSERT_TRUE(WriteFileBytes(olderGroup + "\\Orvelle 5.lnk", "shortcut"));
  ASSERT_TRUE(WriteLog(Installed("install.log"), {"File Copy: OrvPix5.exe", "Made Dir: " + olderGroup,
                                                  "Shell Link: " + olderGroup + "\\Orvelle 5.lnk"}));
  ASSERT_TRUE(WriteFileBytes(Installed("OrvPix5.hlp"), "obsolete"));
  ASSERT_TRUE(WriteFileBytes(Installed("OrvPix5.exe"), "kept: only File Del lines go"));

  // The new package, over it.
  const std::vector<std::string> script = {"Orvelle 6.1", "File Copy: OrvPix6.exe", "File Copy: OrvUnInst.exe",
                                           "File Copy: readme.txt", "File Del: OrvPix5.hlp | replaced"};
  WriteScript(script);
  ASSERT_TRUE(WriteFileBytes(Package("OrvPix6.exe"), "6.1"));
  InstallOptions.isNewInstall = false;
  InstallOptions.programGroup = "Orvelle 6";
  InstallOptions.desktopIcon = false;
  Install();

  EXPECT_FALSE(PathExists(oldGroup));
  EXPECT_FALSE(PathExists(desktopLink));
  EXPECT_FALSE(PathExists(UserPrograms() + "\\Tamberlin")) << "emptied parents go too";
  EXPECT_FALSE(PathExists(Installed("OrvPix5.hlp")));
  EXPECT_TRUE(PathExists(Installed("OrvPix5.exe")));
  EXPECT_EQ(ReadFileBytes(Installed("OrvPix6.exe")), "6.1");
  const std::string group = UserPrograms() + "\\Orvelle 6";
  EXPECT_EQ(Log(), LogAfterScript(script, group, GroupLinks(group)));
  EXPECT_TRUE(ReadShortcut(group + "\\Orvelle 6.lnk").loaded);
}

}  // namespace
