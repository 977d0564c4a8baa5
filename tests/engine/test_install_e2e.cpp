// The real setup.exe of the sample package installs silently into a fresh
// prefix; the installed OrvUnInst.exe then removes it again. Unexpected
// message boxes would block on the test's display and fail by time-out.
#include <windows.h>

#include <string>
#include <vector>

#include "common/registry.h"
#include "common/text.h"
#include "engine_fixture.h"
#include "support/pending_operations.h"
#include "support/package_run.h"

namespace {

constexpr DWORD kRunWait = 30000;
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kMakerKey[] = "SOFTWARE\\Tamberlin";

class InstallEndToEnd : public testing::Test, protected PackageRun {
 protected:
  std::string Folder(const char* value) const { return ShellFolder(HKEY_LOCAL_MACHINE, value); }
};

TEST_F(InstallEndToEnd, SilentSetupInstallsAndTheUninstallerRemovesEverything) {
  ASSERT_TRUE(CopyPackage());
  const std::vector<std::string> script = ReadLines(package_ + "\\OrvUnInst.log");
  ASSERT_FALSE(script.empty());

  // A silent first installation is one for all users, with the desktop icon.
  ASSERT_EQ(RunSetup("-s", kRunWait), 0);
  const std::string programFiles =
      ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  const std::string installed = programFiles + "\\Orvelle 6";
  EXPECT_EQ(TreeOf(installed),
            (std::vector<std::string>{"Filters\\", "Filters\\contrast.flt", "Filters\\sepia.flt", "HomePage.url",
                                      "OrvPix6.exe", "OrvPix6Man.chm", "OrvUnInst.exe", "OrvUnInst.log",
                                      "defaults.cfg", "readme.txt"}));
  EXPECT_EQ(ReadFileBytes(installed + "\\defaults.cfg"), ReadFileBytes(package_ + "\\defaults-fr.cfg"));
  EXPECT_EQ(ReadFileBytes(installed + "\\OrvPix6.exe"), ReadFileBytes(package_ + "\\OrvPix6.exe"));

  const std::string group = Folder("Common Programs") + "\\Orvelle 6";
  const std::string desktopLink = Folder("Common Desktop") + "\\Orvelle 6.lnk";
  struct Link { std::string path; const char* target; const char* workingFolder; };
  const Link links[] = {
      {group + "\\Orvelle 6.lnk", "OrvPix6.exe", "%APPDATA%"},
      {group + "\\Orvelle 6 - Aide.lnk", "OrvPix6Man.chm", ""},
      {group + "\\Informations sur Orvelle 6.lnk", "readme.txt", ""},
      {group + "\\X  D\xE9sinstaller Orvelle 6.lnk", "OrvUnInst.exe", ""},
      {desktopLink, "OrvPix6.exe", "%APPDATA%"},
  };
  std::vector<std::string> log = script;
  log.push_back("");
  log.push_back("Made Dir: " + group);
  for (const Link& link : links) {
    SCOPED_TRACE(link.path);
    const ShortcutContents read = ReadShortcut(link.path);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.target, installed + "\\" + link.target);
    EXPECT_EQ(read.workingFolder, link.workingFolder);
    EXPECT_EQ(read.description, "");
    log.push_back("Shell Link: " + link.path);
  }
  EXPECT_EQ(ReadLines(installed + "\\OrvUnInst.log"), log);
  EXPECT_EQ(TreeOf(group).size(), 4u);
  EXPECT_FALSE(PathExists(Folder("Common Startup") + "\\Orvelle 6.lnk"));

  ExpectRegistryEntries(installed, "B", "6.01.02");
  // The size of what the run left in the folder, in KB rounded up.
  ULONGLONG bytes = 0;
  for (const std::string& entry : TreeOf(installed)) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (entry.back() != '\\' && GetFileAttributesExA((installed + "\\" + entry).c_str(), GetFileExInfoStandard, &data))
      bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  EXPECT_GT(bytes, 0u);
  EXPECT_EQ(DwordOf(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), std::to_string((bytes + 1023) / 1024));
  EXPECT_TRUE(PendingOperations().empty());

  // The installed uninstaller, silent: it hands over to its temporary copy.
  ASSERT_EQ(RunProgram(UninstallerIn(installed), "-s", std::string(), kRunWait), 0);
  ASSERT_FALSE(WaitForTemporaryCopies(kRunWait).empty()) << "no temporary copy ran to its end";

  EXPECT_FALSE(PathExists(installed)) << testing::PrintToString(TreeOf(installed));
  EXPECT_TRUE(PathExists(programFiles));
  EXPECT_FALSE(PathExists(group));
  EXPECT_TRUE(PathExists(Folder("Common Programs")));
  EXPECT_FALSE(PathExists(desktopLink));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMakerKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppPathKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  // What stays: the temporary copy, until the restart deletes it.
  const std::vector<PendingOperation> pending = PendingOperations();
  ASSERT_EQ(pending.size(), 1u);
  EXPECT_EQ(pending[0].target, "");
  const std::string copy = pending[0].source.substr(4);  // after "\??\"
  EXPECT_TRUE(IsTemporaryCopyName(NamePart(copy))) << copy;
  EXPECT_TRUE(PathExists(copy));
  ASSERT_TRUE(RestartPrefix());
  EXPECT_FALSE(PathExists(copy));
  EXPECT_TRUE(PendingOperations().empty());
}

}  // namespace
