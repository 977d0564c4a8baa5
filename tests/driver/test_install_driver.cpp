// The install driver's order of decisions, in-process on real folders and the
// prefix's registry: wizard, installation and process end are recording
// stand-ins; web pages go through the shell to a recorder as the browser.
#include <windows.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/string_table.h"
#include "driver/existing_install.h"
#include "driver/install_driver.h"
#include "driver/install_options.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/message_box_script.h"
#include "support/test_folders.h"
#include "vendor_config.h"

namespace {

const std::string kInstalledPage = std::string(ORVELLE_WEB_SERVER) + "/ovkq/installed.asp";
const std::string kNewInstallPage = std::string(ORVELLE_WEB_SERVER) + "/ovkq/InstScript.asp";

// What the hand-overs saw.
int g_installs = 0;
int g_wizards = 0;
int g_exits = 0;
int g_exitStatus = -1;
INT_PTR g_wizardResult = IDCANCEL;

void CountInstall() { ++g_installs; }
INT_PTR FakeWizard() {
  ++g_wizards;
  // Finish replaces the switch with the (unticked) check box; Cancel leaves it.
  if (g_wizardResult == IDOK) InstallOptions.runAfter = false;
  return g_wizardResult;
}
void RecordExit(int status) {
  ++g_exits;
  g_exitStatus = status;
}

std::string OlderPackageText(const char* installed, const char* package) {
  return std::string("Orvelle v. ") + installed +
         " est d\xe9j\xe0 install\xe9 sur cet ordinateur. Vous essayez d'installer une version plus ancienne " +
         package + " .\n\nVoulez-vous vraiment poursuivre ?";
}
std::string SameVersionText(const char* version) {
  return std::string("Orvelle ver. ") + version +
         " est d\xe9j\xe0 install\xe9 sur cet ordinateur.\n\nVoulez-vous relancer cette installation pour choisir "
         "d'autres options ou r\xe9parer les fichiers ?";
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

void ForgetEarlierInstallation() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, names::kProductKey); }

class InstallDriverTest : public testing::Test {
 protected:
  void SetUp() override {
    package_ = root_ / "package";
    installed_ = root_ / "Apps\\Orvelle 6";
    ASSERT_TRUE(MakePackage(package_, "6.1.2.3"));
    ASSERT_TRUE(browser_.RegisterAsWebBrowser());  // never a real browser
    startFolder_ = CurrentFolder();
    NewRun();
  }
  void TearDown() override { SetCurrentDirectoryA(startFolder_.c_str()); }

  // The switches of a table row, for the failure message.
  static std::string Joined(const std::vector<std::string>& switches) {
    std::string line;
    for (const std::string& s : switches) line += s + " ";
    return line;
  }

  // A fresh run: options as start-up leaves them, hand-overs unused; the
  // wizard will end with `wizardResult`.
  void NewRun(bool silent = false, INT_PTR wizardResult = IDCANCEL) {
    InstallOptions = InstallOptionsRecord{};
    InstallOptions.silent = silent;
    g_installs = g_wizards = g_exits = 0;
    g_exitStatus = -1;
    g_wizardResult = wizardResult;
  }

  // An earlier installation of `version` (without OrvPix6.exe when empty).
  void Earlier(const std::string& version, const char* allUsers = names::kAllUsersNo) {
    ASSERT_TRUE(MakeFolders(installed_));
    DeleteFileA((installed_ + "\\" + names::kApplicationExe).c_str());
    if (!version.empty()) ASSERT_TRUE(PlaceStandIn(version, installed_));
    RegisterEarlierInstallation(installed_, allUsers);
  }

  bool Run(const std::vector<std::string>& switches = {}) {
    std::vector<std::string> args{package_ + "\\setup.exe"};
    args.insert(args.end(), switches.begin(), switches.end());
    const InstallDriverHandovers handovers{&CountInstall, &FakeWizard, &RecordExit};
    return RunInstallDriver(args, package_ + "\\setup.exe", handovers);
  }

  std::string DefaultDestination() const { return ProgramFilesFolder() + "\\Orvelle 6"; }

  TestFolder root_;
  std::string package_;
  std::string installed_;
  std::string startFolder_;
  Recorder browser_{root_ / "browser", "browser.exe"};
};

using DriverDestination = InstallDriverTest;
using DriverSwitches = InstallDriverTest;
using VersionQuestions = InstallDriverTest;
using EarlierChoices = InstallDriverTest;
using PackageCheck = InstallDriverTest;
using SilentPath = InstallDriverTest;
using VendorPage = InstallDriverTest;

TEST_F(DriverDestination, NewInstallationDefaults) {
  MessageBoxScript boxes;
  EXPECT_TRUE(Run()) << "the wizard was cancelled";
  EXPECT_EQ(InstallOptions.destinationFolder, DefaultDestination());
  EXPECT_EQ(InstallOptions.sourceFolder, package_);
  EXPECT_EQ(InstallOptions.programGroup, "Orvelle 6");
  EXPECT_TRUE(InstallOptions.isNewInstall);
  EXPECT_FALSE(InstallOptions.isUpgrade);
  EXPECT_FALSE(InstallOptions.allUsers);
  EXPECT_FALSE(InstallOptions.autoStart);
  EXPECT_TRUE(InstallOptions.desktopIcon);
  EXPECT_FALSE(InstallOptions.runAfter);
  EXPECT_EQ(InstallOptions.newVersion.major, 6u);
  EXPECT_EQ(InstallOptions.newVersion.fourth, 3u);
  EXPECT_EQ(g_wizards, 1);
  EXPECT_EQ(g_installs, 0);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DriverDestination, InstDirSwitch) {
  const std::string there = root_ / "There";
  const std::string file = root_ / "There\\file.txt";
  const std::string missing = root_ / "Missing";
  ASSERT_TRUE(MakeFolders(there));
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  const std::string byDefault = DefaultDestination();
  struct Case { std::vector<std::string> switches; std::string expected; };
  const Case cases[] = {
      {{"-instdir", there}, there},
      {{"-instdir", there + "\\"}, there},
      {{"-instdir", there + "/"}, there},
      {{"-instdir", there + "\\\\"}, there},        // made full: one separator, removed
      {{"-instdir", file}, file},                     // the installation refuses it (a file in the way)
      {{"-instdir", missing}, missing},               // made by the installation, not here
      {{"-instdir", missing + "\\Two\\"}, missing + "\\Two"},
      {{"-instdir", "Q:\\Orvelle 6"}, "Q:\\Orvelle 6"},  // no such drive: the installation refuses it
      {{"-instdir", there, "-instdir", missing}, missing},  // the later one counts
      {{"-instdir", missing, "-instdir", there}, there},
      {{"-instdir"}, byDefault},  // last argument: ignored
      {{there, "-instdir"}, byDefault},
      {{"-INSTDIR", there}, byDefault},  // exact case only
      {{"-InstDir", there}, byDefault},
      {{"-instdir", "-runafter", there}, byDefault},  // a switch is no folder
      {{"-instdir", "/s"}, byDefault},
      {{"-instdir", "There"}, there},  // relative to the current folder: made full
      {{"-instdir", "C:\\"}, "C:\\"},  // a drive root keeps its separator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Joined(c.switches));
    NewRun();
    MessageBoxScript boxes;
    SetCurrentDirectoryA(root_.Path().c_str());  // the run leaves the destination current
    Run(c.switches);
    EXPECT_EQ(InstallOptions.destinationFolder, c.expected);
    EXPECT_TRUE(InstallOptions.isNewInstall);
    EXPECT_FALSE(PathExists(missing)) << "made before the installation";
  }
}

TEST_F(DriverDestination, InstDirOverEarlierInstallationStaysAnUpgrade) {
  const std::string other = root_ / "Other";
  ASSERT_TRUE(MakeFolders(other));
  ASSERT_TRUE(PlaceStandIn("6.1.0.0", other));
  Earlier("6.2.0.0");
  MessageBoxScript boxes;
  Run({"-instdir", other});
  EXPECT_EQ(InstallOptions.destinationFolder, other);
  EXPECT_FALSE(InstallOptions.isNewInstall);
  // The version compared is the one in the chosen folder: 6.1.0.0 < 6.1.2.3.
  EXPECT_TRUE(InstallOptions.isUpgrade);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DriverSwitches, OptionSwitchesInAnyCase) {
  struct Case { std::vector<std::string> switches; bool runAfter, allUsers, autoStart, desktopIcon; };
  const Case cases[] = {
      {{}, false, false, false, true},
      {{"-runafter"}, true, false, false, true},
      {{"-RUNAFTER"}, true, false, false, true},
      {{"-AllUsers"}, false, true, false, true},
      {{"-autoSTART"}, false, false, true, true},
      {{"-NoDeskIco"}, false, false, false, false},
      {{"-runafter", "-allusers", "-autostart", "-nodeskico"}, true, true, true, false},
      {{"/runafter", "-runafterx", "runafter", "-allusers "}, false, false, false, true},
      {{"-instdir", "-autostart"}, false, false, true, true},  // the folder is a switch too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Joined(c.switches));
    NewRun();
    MessageBoxScript boxes;
    Run(c.switches);
    EXPECT_EQ(InstallOptions.runAfter, c.runAfter);
    EXPECT_EQ(InstallOptions.allUsers, c.allUsers);
    EXPECT_EQ(InstallOptions.autoStart, c.autoStart);
    EXPECT_EQ(InstallOptions.desktopIcon, c.desktopIcon);
  }
}

TEST_F(VersionQuestions, AskedOnlyForTheSameOrAnOlderPackage) {
  struct Case {
    const char* installed;  // "": the folder holds no OrvPix6.exe
    const char* package;
    std::string question;   // empty: none
  };
  const Case cases[] = {
      {"6.1.0.0", "6.1.2.3", ""},
      {"6.1.2.3", "6.1.2.10", ""},
      {"", "6.1.2.3", ""},  // reads as 0.0.0.0: an upgrade
      {"6.2.0.0", "6.1.0.0", OlderPackageText("6.02.00.00", "6.01.00.00")},
      {"6.1.2.10", "6.1.2.3", OlderPackageText("6.01.02.10", "6.01.02.03")},
      {"6.70.1.3", "6.2.0.0", OlderPackageText("6.70.01.03", "6.02.00.00")},
      {"6.1.2.3", "6.1.2.3", SameVersionText("6.01.02.03")},
      {"6.1.100.0", "6.2.0.0", SameVersionText("6.02.00.00")},  // equal values
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.installed) + " then " + c.package);
    ASSERT_TRUE(MakePackage(package_, c.package));
    Earlier(c.installed);
    for (int answer : {IDYES, IDNO}) {
      SCOPED_TRACE(answer == IDYES ? "yes" : "no");
      NewRun();
      MessageBoxScript boxes({answer});
      const bool ended = Run();
      if (c.question.empty()) {
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_TRUE(InstallOptions.isUpgrade);
        EXPECT_EQ(g_wizards, 1);
        continue;
      }
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_TRUE(IsBox(boxes.Shown()[0], c.question, MB_YESNO | MB_ICONQUESTION));
      EXPECT_FALSE(InstallOptions.isUpgrade);
      EXPECT_FALSE(InstallOptions.isNewInstall);
      EXPECT_TRUE(ended);
      EXPECT_EQ(g_wizards, answer == IDYES ? 1 : 0);
    }
  }
}

TEST_F(VersionQuestions, DecliningOrCancellingChangesNothing) {
  Earlier("6.1.2.3");
  ASSERT_TRUE(WriteFileBytes(installed_ + "\\HomePage.url", "URL=http://x/?a=1\r\n"));
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDNO ? "question declined" : "wizard cancelled");
    NewRun();
    MessageBoxScript boxes({answer});
    EXPECT_TRUE(Run({"-runafter"}));
    EXPECT_EQ(g_wizards, answer == IDNO ? 0 : 1);
    EXPECT_EQ(g_installs + g_exits, 0);
    EXPECT_EQ(CurrentFolder(), startFolder_);
  }
  EXPECT_TRUE(browser_.StartsSoFar().empty());
}

TEST_F(SilentPath, SameOrOlderPackageAsksNothingAndInstalls) {
  for (const char* installed : {"6.1.2.3", "6.2.0.0"}) {
    SCOPED_TRACE(installed);
    Earlier(installed);
    NewRun(/*silent=*/true);
    MessageBoxScript boxes;
    EXPECT_FALSE(Run());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(InstallOptions.isUpgrade);
    EXPECT_EQ(g_installs, 1);
    EXPECT_EQ(g_wizards, 0);
    EXPECT_EQ(CurrentFolder(), installed_);
  }
  EXPECT_TRUE(browser_.StartsSoFar().empty()) << "no page in a silent run";
}

TEST_F(SilentPath, NewInstallationIsForAllUsers) {
  const std::string target = root_ / "Target";
  ASSERT_TRUE(MakeFolders(target));
  for (bool silent : {true, false}) {
    SCOPED_TRACE(silent ? "silent" : "wizard");
    NewRun(silent, IDOK);
    MessageBoxScript boxes;
    EXPECT_FALSE(Run({"-instdir", target}));
    EXPECT_EQ(InstallOptions.allUsers, silent);
    EXPECT_EQ(g_installs, silent ? 1 : 0);
    EXPECT_EQ(g_wizards, silent ? 0 : 1);
    EXPECT_EQ(CurrentFolder(), target);
  }
}

TEST_F(SilentPath, AWizardThatCannotBeCreatedIsAFailureNotACancellation) {
  for (INT_PTR result : {static_cast<INT_PTR>(-1), static_cast<INT_PTR>(IDCANCEL)}) {
    NewRun(false, result);
    MessageBoxScript boxes;
    EXPECT_TRUE(Run());
    EXPECT_EQ(g_wizards, 1);
    EXPECT_EQ(g_exits, result == -1 ? 1 : 0);
    if (result == -1) EXPECT_EQ(g_exitStatus, 1603);
  }
}

TEST_F(EarlierChoices, AllUsersFromTheEarlierInstallationOnly) {
  struct Case {
    const char* registered;  // null: no value
    std::vector<std::string> switches;
    bool expected;
  };
  const Case cases[] = {
      {"B", {}, true},
      {"B", {"-allusers"}, true},
      {"A", {"-allusers"}, false},
      {"b", {}, false},  // case-sensitive
      {"B ", {}, false},
      {nullptr, {"-allusers"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.registered ? c.registered : "(none)") + (c.switches.empty() ? "" : " -allusers"));
    ForgetEarlierInstallation();
    Earlier("6.1.0.0", c.registered);
    for (bool silent : {false, true}) {
      NewRun(silent);
      MessageBoxScript boxes;
      Run(c.switches);
      EXPECT_EQ(InstallOptions.allUsers, c.expected) << (silent ? "silent" : "wizard");
    }
  }
}

TEST_F(EarlierChoices, ProgramGroupFromTheEarlierLog) {
  const struct { HKEY root; const char* value; const char* folder; } places[] = {
      {HKEY_CURRENT_USER, names::kProgramsValue, "C:\\Profile\\Programs"},
      {HKEY_CURRENT_USER, names::kStartupValue, "C:\\Profile\\Programs\\StartUp"},
      {HKEY_LOCAL_MACHINE, names::kCommonProgramsValue, "C:\\All\\Programs"},
      {HKEY_LOCAL_MACHINE, names::kCommonStartupValue, "C:\\All\\Programs\\StartUp"}};
  for (const auto& p : places) ASSERT_TRUE(WriteRegistryString(p.root, names::kShellFoldersKey, p.value, p.folder));
  struct Case { const char* allUsers; const char* expected; };
  const Case cases[] = {{"A", "Mine\\Orvelle 6"}, {"B", "Shared\\Orvelle 6"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.allUsers);
    Earlier("6.1.0.0", c.allUsers);
    ASSERT_TRUE(WriteFileBytes(installed_ + "\\OrvUnInst.log",
                               "File Copy: OrvPix6.exe\r\n\r\n"
                               "Shell Link: C:\\Profile\\Programs\\Mine\\Orvelle 6\\Orvelle 6.lnk\r\n"
                               "Shell Link: C:\\All\\Programs\\Shared\\Orvelle 6\\Orvelle 6.lnk\r\n"));
    NewRun();
    MessageBoxScript boxes;
    Run();
    EXPECT_EQ(InstallOptions.programGroup, c.expected);
  }
}

TEST_F(PackageCheck, DamagedPackageEndsWithOneAfterStringEighteenAndTheHomePageUnlessSilent) {
  struct Case {
    const char* name;
    const char* version;  // "": no OrvPix6.exe
    bool script;
    bool notAProgram;     // OrvPix6.exe holds no version resource
  };
  const Case cases[] = {
      {"major 0", "0.5.0.0", true, false},
      {"no program", "", true, false},
      {"program without version", "", true, true},
      {"no install script", "6.1.2.3", false, false},
  };
  std::size_t pages = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveTree(package_);
    ASSERT_TRUE(MakePackage(package_, c.version, c.script));
    if (c.notAProgram) ASSERT_TRUE(WriteFileBytes(package_ + "\\OrvPix6.exe", "MZ"));
    for (bool silent : {false, true}) {
      NewRun(silent, IDOK);
      MessageBoxScript boxes({IDOK});
      EXPECT_TRUE(Run({"-runafter"}));
      EXPECT_EQ(g_exits, 1);
      EXPECT_EQ(g_exitStatus, 1);
      EXPECT_EQ(g_wizards + g_installs, 0);
      EXPECT_EQ(CurrentFolder(), startFolder_);
      if (silent) {
        // Nobody would press the box: the status alone tells.
        EXPECT_TRUE(boxes.Shown().empty());
        continue;
      }
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_TRUE(IsBox(boxes.Shown()[0], LoadStringResource(IDS_DAMAGED_PACKAGE), MB_OK | MB_ICONERROR));
      EXPECT_NE(boxes.Shown()[0].text.find(std::string(" sur ") + ORVELLE_WEB_ADDRESS + " et relancez"),
                std::string::npos);
      const std::vector<RecordedStart> starts = browser_.WaitForStarts(++pages);
      ASSERT_EQ(starts.size(), pages);
      EXPECT_EQ(starts.back().args, std::vector<std::string>{ORVELLE_HOME_PAGE});
    }
  }
  EXPECT_EQ(browser_.StartsSoFar().size(), pages) << "no page in a silent run";
}

TEST_F(PackageCheck, ComesAfterTheVersionQuestion) {
  RemoveTree(package_);
  ASSERT_TRUE(MakePackage(package_, "0.5.0.0"));
  Earlier("6.2.0.0");
  {
    MessageBoxScript boxes({IDYES, IDOK});
    Run();
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, OlderPackageText("6.02.00.00", "0.05.00.00"));
    EXPECT_EQ(boxes.Shown()[1].text, LoadStringResource(IDS_DAMAGED_PACKAGE));
    EXPECT_EQ(g_exitStatus, 1);
  }
  NewRun();
  {
    MessageBoxScript boxes({IDNO});
    EXPECT_TRUE(Run());
    EXPECT_EQ(boxes.Shown().size(), 1u) << "declined: the package is not checked";
    EXPECT_EQ(g_exits, 0);
  }
}

TEST_F(VendorPage, OpenedForNewInstallationsAndUpgradesOnly) {
  const std::string fresh = root_ / "Fresh";
  ASSERT_TRUE(MakeFolders(fresh));
  const std::string withQuery = "[InternetShortcut]\r\nURL=http://www.tamberlin.example/orvelle/?a=1&b=2\r\n";
  const std::string withoutQuery = "[InternetShortcut]\r\nURL=http://www.tamberlin.example/orvelle/\r\n";
  struct Case {
    const char* name;
    const char* earlier;         // null: a new installation into `fresh`
    const std::string* homePage;  // null: no HomePage.url
    bool silent;
    std::string expected;        // empty: no page
  };
  const Case cases[] = {
      {"new, query", nullptr, &withQuery, false, kNewInstallPage + "?a=1&b=2"},
      {"new, no query", nullptr, &withoutQuery, false, kInstalledPage},
      {"new, no HomePage.url", nullptr, nullptr, false, kInstalledPage},
      {"new, silent", nullptr, &withQuery, true, ""},
      {"upgrade, query", "6.1.0.0", &withQuery, false, kInstalledPage},
      {"upgrade, no query", "6.1.0.0", &withoutQuery, false, kInstalledPage},
      {"upgrade, silent", "6.1.0.0", &withQuery, true, ""},
      {"same version", "6.1.2.3", &withQuery, false, ""},
      {"newer installed", "6.2.0.0", &withQuery, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ForgetEarlierInstallation();
    std::vector<std::string> switches;
    std::string destination = fresh;
    if (c.earlier) {
      Earlier(c.earlier);
      destination = installed_;
    } else {
      switches = {"-instdir", fresh};
    }
    const std::string urlFile = destination + "\\HomePage.url";
    DeleteFileA(urlFile.c_str());
    if (c.homePage) ASSERT_TRUE(WriteFileBytes(urlFile, *c.homePage));
    browser_.Clear();
    NewRun(c.silent, IDOK);
    MessageBoxScript boxes({IDYES});
    EXPECT_FALSE(Run(switches));
    if (!c.expected.empty()) browser_.WaitForStarts(1);
    const std::vector<RecordedStart> starts = browser_.StartsSoFar();
    if (c.expected.empty()) {
      EXPECT_TRUE(starts.empty());
    } else {
      ASSERT_EQ(starts.size(), 1u);
      EXPECT_EQ(starts[0].args, std::vector<std::string>{c.expected});
    }
  }
}

}  // namespace
