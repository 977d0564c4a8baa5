// Zero residue: cycles of installation, re-installation over it and removal
// of the sample package in one prefix. After every cycle the whole registry
// and the whole drive C: are compared with their state before the first
// cycle; only the queued deletions of the temporary uninstaller copies and
// those copies may differ.
//
// ORV_SOAK_CYCLES sets the number of cycles (2 by default; scripts/soak.sh
// runs 25). Each cycle prints one line with its result.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "support/package_run.h"
#include "system_snapshot.h"

namespace {

int CycleCount() {
  char text[16] = {};
  if (GetEnvironmentVariableA("ORV_SOAK_CYCLES", text, sizeof text) == 0) return 2;
  const int count = std::atoi(text);
  return count > 0 ? count : 2;
}

// The options of cycle `index`: every other cycle for the current user only
// (through the wizard: a silent first installation is always for all users),
// desktop and autostart shortcuts in all four combinations over four cycles.
CycleOptions OptionsOf(int index) {
  CycleOptions options;
  options.allUsers = index % 2 == 0;
  options.desktopIcon = (index / 2) % 2 == 0;
  options.autoStart = index % 4 == 1 || index % 4 == 2;
  return options;
}

std::string Describe(const CycleOptions& options) {
  return std::string(options.allUsers ? "all users" : "current user") + (options.desktopIcon ? ", desktop" : "") +
         (options.autoStart ? ", autostart" : "");
}

// Wine's display driver registers its devices when the first window of the
// prefix appears; that happens here, before the first snapshot, rather than
// in the first installation.
void WakeTheDisplay() {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  DestroyWindow(window);
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
}

// The comparison itself: what an installation could leave is seen, in each
// place; a queued deletion of a temporary copy and the copy are allowed, a
// queued rename is not.
TEST(ZeroResidue, SnapshotsSeeFilesKeysValuesAndQueuedRenames) {
  TestFolder root("orvsnap");
  const SystemSnapshot before = TakeSnapshot();
  const std::string programFiles =
      ReadRegistryString(HKEY_LOCAL_MACHINE, names::kCurrentVersionKey, names::kProgramFilesDirValue);
  const std::string leftFolder = programFiles + "\\Left";
  ASSERT_TRUE(MakeFolders(leftFolder));
  ASSERT_TRUE(WriteFileBytes(leftFolder + "\\left.txt", "12345"));
  ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, "Software\\Left", "Value", "v"));
  ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, "Left", "v"));  // 32-bit view
  char temp[MAX_PATH] = {}, copy[MAX_PATH] = {};
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  ASSERT_NE(GetTempFileNameA(temp, names::kSelfRemovalPrefix, 0, copy), 0u);
  ASSERT_TRUE(MoveFileExA(copy, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));

  const std::string user = "HKU\\S-1-5-21-0-0-0-1000\\Software\\Left\\";
  const std::string product = "HKLM\\Software\\Wow6432Node\\Tamberlin\\";
  std::vector<std::string> residue = Residue(before, TakeSnapshot());
  std::vector<std::string> expected = {
      "+ file:" + leftFolder + "\\", "+ file:" + leftFolder + "\\left.txt", "+ reg:" + product,
      "+ reg:" + product + "Orvelle 6\\", "+ reg:" + product + "Orvelle 6\\\\Left", "+ reg:" + user,
      "+ reg:" + user + "\\Value"};
  std::sort(residue.begin(), residue.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(residue, expected);

  // A changed file and a queued rename count as residue as well.
  const SystemSnapshot middle = TakeSnapshot();
  ASSERT_TRUE(WriteFileBytes(leftFolder + "\\left.txt", "123456"));
  char renamed[MAX_PATH] = {};
  ASSERT_NE(GetTempFileNameA(temp, names::kSelfRemovalPrefix, 0, renamed), 0u);
  ASSERT_TRUE(MoveFileExA(renamed, (root / "elsewhere.tmp").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
  const SystemSnapshot later = TakeSnapshot();
  const std::vector<std::string> changes = CompareSnapshots(middle, later);
  EXPECT_NE(std::find(changes.begin(), changes.end(), "~ file:" + leftFolder + "\\left.txt"), changes.end());
  residue = Residue(before, later);
  EXPECT_NE(std::find(residue.begin(), residue.end(), "+ file:" + std::string(renamed)), residue.end())
      << "a copy whose queued operation is a rename is residue";
  EXPECT_NE(std::find_if(residue.begin(), residue.end(),
                         [](const std::string& line) { return line.find("PendingFileRenameOperations") != line.npos; }),
            residue.end());
}

TEST(ZeroResidue, InstallReinstallUninstallCyclesLeaveOnlyTheQueuedCopies) {
  const PackageRun run("orvsoak");
  ASSERT_TRUE(run.CopyPackage());
  // The web page a wizard installation opens goes to a recorder, which is the
  // test's instrument: its folder is not compared.
  Recorder browser(run.Root() / "browser", "browser.exe");
  ASSERT_TRUE(browser.RegisterAsWebBrowser());
  const std::vector<std::string> instruments = {run.Root() / "browser"};

  WakeTheDisplay();
  const SystemSnapshot before = TakeSnapshot(instruments);
  const int cycles = CycleCount();
  for (int index = 0; index < cycles; ++index) {
    const CycleOptions options = OptionsOf(index);
    SCOPED_TRACE("cycle " + std::to_string(index + 1) + ": " + Describe(options));
    if (options.allUsers)
      ASSERT_EQ(run.RunSetup(SilentSwitches(options)), 0);
    else
      ASSERT_TRUE(InstallThroughWizard(run.Package(), options, run.Root().Path()));
    const std::string installed = InstalledFolder();
    ASSERT_TRUE(PathExists(installed + "\\" + names::kApplicationExe)) << installed;
    // The re-installation keeps the earlier choice of all users or not.
    ASSERT_EQ(run.RunSetup(SilentSwitches(options)), 0);
    EXPECT_EQ(InstalledFolder(), installed);
    ASSERT_TRUE(UninstallSilently(installed));

    const std::vector<std::string> residue = Residue(before, TakeSnapshot(instruments));
    std::printf("cycle %d (%s): %s\n%s", index + 1, Describe(options).c_str(),
                residue.empty() ? "no residue" : (std::to_string(residue.size()) + " differences").c_str(),
                Lines(residue).c_str());
    std::fflush(stdout);
    ASSERT_TRUE(residue.empty()) << Lines(residue);
  }
  // One queued deletion per cycle: the temporary copy of each removal.
  EXPECT_EQ(PendingDeletions().size(), static_cast<std::size_t>(cycles));
}

}  // namespace
