// Runs ended abruptly (a distribution tool's time-out, a logoff, a power
// cut): a real installation, upgrade or removal is followed through its
// administrator's log and its process is ended the moment a chosen line
// appears. The administrator's recovery must then leave no trace: the same
// command again, or, once the uninstaller's file is gone, the setup and then
// the uninstaller. After the restart the registry and drive C: are compared
// with their state before the first installation; an installation or
// upgrade cut short never leaves an earlier file cut, and its recovery
// leaves every file the package's.
#include <windows.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/package_run.h"
#include "support/pending_operations.h"
#include "system_snapshot.h"

namespace {

// The exit status the test gives the process it ends.
constexpr UINT kCutShort = 99;
constexpr DWORD kLineWait = 60000;
// An older package: the stand-in of an older version and another readme.
constexpr char kOlderVersion[] = "6.1.0.0";
constexpr char kOlderReadme[] = "Orvelle 6.1.0: readme of the older package.\r\n";

enum class Run { Install, Upgrade, Removal, WaitingRemoval };
enum class Recovery {
  SameCommand,          // the setup again; for a removal the uninstaller with -wait
  SetupThenUninstaller  // setup.exe -install -s, then OrvUnInst.exe -s -wait
};

struct Point {
  const char* name;
  Run run;
  const char* event;     // the log line's text begins with it...
  const char* contains;  // ...and holds this ("" for any)
  Recovery recovery;
};

const Point kPoints[] = {
    {"InstallAfterTheFirstCopy", Run::Install, "copied ", "", Recovery::SameCommand},
    {"InstallAfterTheUninstallLog", Run::Install, "copied ", names::kUninstallLog, Recovery::SameCommand},
    {"InstallAfterTheFirstRegistryValue", Run::Install, "wrote registry value", "", Recovery::SameCommand},
    {"UpgradeAfterTheFirstReplacement", Run::Upgrade, "replaced ", "", Recovery::SameCommand},
    {"UpgradeAfterTheFirstRegistryValue", Run::Upgrade, "wrote registry value", "", Recovery::SameCommand},
    // The copy without -wait deletes the uninstaller's file before anything
    // else, after a second's wait; its own deletion is queued before that
    // wait (a copy ended in the moment before, a line earlier, keeps its file).
    {"RemovalCopyDuringItsWait", Run::Removal, "queued for the restart: delete", ".tmp", Recovery::SameCommand},
    {"RemovalCopyAfterTheUninstaller", Run::Removal, "removed file", names::kUninstallerExe,
     Recovery::SetupThenUninstaller},
    {"RemovalCopyAfterTheRegistryKey", Run::Removal, "removed registry key", "", Recovery::SetupThenUninstaller},
    {"RemovalCopyAfterTheFirstShortcut", Run::Removal, "removed shortcut", "", Recovery::SetupThenUninstaller},
    // With -wait the uninstaller's file goes last: it is there to run again.
    {"WaitingRemovalCopyAfterTheRegistryKey", Run::WaitingRemoval, "removed registry key", "", Recovery::SameCommand},
    {"WaitingRemovalCopyAfterTheFirstFile", Run::WaitingRemoval, "removed file", "", Recovery::SameCommand},
};

// A row by its name, in the test's listing.
void PrintTo(const Point& point, std::ostream* out) { *out << point.name; }

// The process number of the first line of the log at `path`, from byte
// `from` on, whose text begins with `event` and holds `contains`; 0 when
// none came within the wait.
DWORD WaitForLogLine(const std::string& path, std::size_t from, const char* event, const char* contains) {
  for (const DWORD begin = GetTickCount(); GetTickCount() - begin < kLineWait; Sleep(1)) {
    const std::string text = ReadFileBytes(path);
    for (std::size_t start = from, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = text.substr(start, end - start);
      const std::size_t open = line.find(" ["), close = line.find("] ");
      if (open == std::string::npos || close == std::string::npos) continue;
      const std::string event_text = line.substr(close + 2);
      if (event_text.rfind(event, 0) == 0 && event_text.find(contains) != std::string::npos)
        return static_cast<DWORD>(std::strtoul(line.c_str() + open + 2, nullptr, 10));
    }
  }
  return 0;
}

// Ends the process abruptly; true when it was still running.
bool CutShort(DWORD processId) {
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
  if (!process || !TerminateProcess(process.get(), kCutShort)) return false;
  return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0;
}

// Waits for the last temporary copy the log names ("started process N:")
// to end: with -wait it goes on for a moment after the uninstaller.
void WaitForLastCopy(const std::string& log) {
  const std::string text = ReadFileBytes(log);
  const std::size_t at = text.rfind("started process ");
  if (at == std::string::npos) return;
  const DWORD id = std::strtoul(text.c_str() + at + std::string("started process ").size(), nullptr, 10);
  UniqueHandle copy(OpenProcess(SYNCHRONIZE, FALSE, id));
  if (copy) WaitForSingleObject(copy.get(), kProgramRunWait);
}

// The package file an installed file is a copy of ("" for none).
std::string PackageNameOf(const std::string& installed) {
  if (installed == "defaults.cfg") return "defaults-fr.cfg";
  if (installed == names::kUninstallLog || installed.back() == '\\') return std::string();
  return installed;
}

class InterruptedRun : public testing::TestWithParam<Point> {
 protected:
  InterruptedRun() : run_("orvcut"), log_(run_.Root() / "admin.log"), older_(run_.Root() / "older package") {}

  void SetUp() override {
    ASSERT_TRUE(run_.CopyPackage());
    ASSERT_TRUE(CopyTree(run_.Package(), older_));
    ASSERT_TRUE(PlaceStandIn(kOlderVersion, older_));
    ASSERT_TRUE(WriteFileBytes(older_ + "\\readme.txt", kOlderReadme));
  }

  std::string Installed() const { return DefaultInstalledFolder(); }

  // Starts the run to cut short, from a log of its own, and ends the
  // process that wrote the chosen line as soon as it appears.
  void StartAndCutShort(const Point& point) {
    const std::size_t from = ReadFileBytes(log_).size();
    const std::string logSwitch = " -log \"" + log_ + "\"";
    StartedProcess started;
    if (point.run == Run::Install || point.run == Run::Upgrade)
      started = run_.StartSetup("-install -s" + logSwitch);
    else
      started = run_.Start(UninstallerIn(Installed()), std::string(point.run == Run::Removal ? "-s" : "-s -wait") +
                                                           logSwitch, Installed());
    ASSERT_TRUE(started);
    const DWORD writer = WaitForLogLine(log_, from, point.event, point.contains);
    ASSERT_NE(writer, 0u) << "no line \"" << point.event << "\" in\n" << ReadFileBytes(log_);
    EXPECT_TRUE(CutShort(writer)) << "the run had ended before it could be cut short";
    WaitForExit(started, kProgramRunWait);
  }

  // Every file that was installed before the cut run is whole, in its old
  // or its new version; a file new to that run may be cut.
  void ExpectNoEarlierFileCut(const std::vector<std::string>& before) const {
    for (const std::string& name : before) {
      const std::string package = PackageNameOf(name);
      if (package.empty()) continue;
      const std::string bytes = ReadFileBytes(Installed() + "\\" + name);
      EXPECT_TRUE(bytes == ReadFileBytes(run_.Package() + "\\" + package) ||
                  bytes == ReadFileBytes(older_ + "\\" + package))
          << name << " was cut";
    }
  }

  // Every installed file is the package's and no staging folder is left.
  void ExpectThePackagesFiles() const {
    for (const std::string& name : TreeOf(Installed())) {
      EXPECT_EQ(name.find(names::kStagingFolder), std::string::npos) << name;
      const std::string package = PackageNameOf(name);
      if (!package.empty())
        EXPECT_EQ(ReadFileBytes(Installed() + "\\" + name), ReadFileBytes(run_.Package() + "\\" + package)) << name;
    }
    EXPECT_TRUE(PathExists(Installed() + "\\" + names::kApplicationExe));
  }

  void ExpectSetupSucceeds(const std::string& package) const {
    const long status = run_.RunProgram(SetupIn(package), "-install -s -log \"" + log_ + "\"");
    EXPECT_TRUE(status == 0 || status == 3010) << "setup: " << status;
  }

  void ExpectUninstallerSucceeds() const {
    ASSERT_TRUE(PathExists(UninstallerIn(Installed())));
    const long status = run_.RunProgram(UninstallerIn(Installed()), "-s -wait -log \"" + log_ + "\"", Installed());
    EXPECT_TRUE(status == 0 || status == 3010) << "uninstaller: " << status << "\n" << ReadFileBytes(log_);
    WaitForLastCopy(log_);
  }

  PackageRun run_;
  const std::string log_;
  const std::string older_;
};

TEST_P(InterruptedRun, TheRecoveryLeavesNothingBehind) {
  const Point& point = GetParam();
  const std::vector<std::string> instruments = {run_.Root().Path()};
  const SystemSnapshot before = TakeSnapshot(instruments);

  if (point.run == Run::Upgrade) ExpectSetupSucceeds(older_);
  if (point.run == Run::Removal || point.run == Run::WaitingRemoval) ExpectSetupSucceeds(run_.Package());
  const std::vector<std::string> installedBefore = TreeOf(Installed());

  StartAndCutShort(point);
  if (HasFatalFailure()) return;
  const bool install = point.run == Run::Install || point.run == Run::Upgrade;
  if (install) ExpectNoEarlierFileCut(installedBefore);

  if (install) {
    ExpectSetupSucceeds(run_.Package());
    ExpectThePackagesFiles();
  } else if (point.recovery == Recovery::SetupThenUninstaller) {
    EXPECT_FALSE(PathExists(UninstallerIn(Installed()))) << "the uninstaller could have run again";
    ExpectSetupSucceeds(run_.Package());
  }
  ExpectUninstallerSucceeds();

  ASSERT_TRUE(RestartPrefix());
  const std::vector<std::string> residue = Residue(before, TakeSnapshot(instruments));
  std::string lines;
  for (const std::string& line : residue) lines += "  " + line + "\n";
  EXPECT_TRUE(residue.empty()) << lines << ReadFileBytes(log_);
}

INSTANTIATE_TEST_SUITE_P(Points, InterruptedRun, testing::ValuesIn(kPoints),
                         [](const testing::TestParamInfo<Point>& info) { return std::string(info.param.name); });

}  // namespace
