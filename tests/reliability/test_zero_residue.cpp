// Zero residue: cycles of installation, re-installation over it and removal
// of the sample package in one prefix. After every cycle the whole registry
// and the whole drive C: are compared with their state before the first
// cycle; only the queued deletions of the temporary uninstaller copies and
// those copies may differ.
//
// ORV_SOAK_CYCLES sets the number of cycles (2 by default; scripts/soak.sh
// runs 25). Each cycle prints one line with its result.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/names.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "support/test_folders.h"
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

TEST(ZeroResidue, InstallReinstallUninstallCyclesLeaveOnlyTheQueuedCopies) {
  TestFolder root("orvsoak");
  const std::string package = root / "Orvelle 6 package";
  ASSERT_TRUE(CopyTree(SamplePackageFolder(), package));
  // The web page a wizard installation opens goes to a recorder, which is the
  // test's instrument: its folder is not compared.
  Recorder browser(root / "browser", "browser.exe");
  ASSERT_TRUE(browser.RegisterAsWebBrowser());
  const std::vector<std::string> instruments = {root / "browser"};

  WakeTheDisplay();
  const SystemSnapshot before = TakeSnapshot(instruments);
  const int cycles = CycleCount();
  for (int index = 0; index < cycles; ++index) {
    const CycleOptions options = OptionsOf(index);
    SCOPED_TRACE("cycle " + std::to_string(index + 1) + ": " + Describe(options));
    if (options.allUsers)
      ASSERT_EQ(RunSetup(package, SilentSwitches(options), root.Path()), 0);
    else
      ASSERT_TRUE(InstallThroughWizard(package, options, root.Path()));
    const std::string installed = InstalledFolder();
    ASSERT_TRUE(PathExists(installed + "\\" + names::kApplicationExe)) << installed;
    // The re-installation keeps the earlier choice of all users or not.
    ASSERT_EQ(RunSetup(package, SilentSwitches(options), root.Path()), 0);
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
