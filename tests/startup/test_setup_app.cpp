#include "startup/setup_app.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/string_table.h"
#include "driver/install_options.h"
#include "framework/exit_status.h"
#include "framework/run_guard.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "startup/instance_manager.h"
#include "support/message_box_script.h"
#include "support/processes.h"
#include "support/test_folders.h"

namespace {

// Stands in for the shared instance list: a fixed count and list, and a
// record of which processes were looked up for a main window. Of the
// `registered` processes (the setup included), the first `copies` others are
// copies of the application showing a main window (one window of this test,
// which keeps the close requests in its queue); the rest are stale entries
// of processes that have gone.
class FakeInstances : public RunningInstances {
 public:
  explicit FakeInstances(int registered = 1, int copies = 0) : count(registered) {
    for (int i = 0; i + 1 < registered; ++i) ids.push_back(0x7FFFFF00u + static_cast<std::uint32_t>(i));
    copies_ = copies;
    if (copies > 0) window_ = CreateWindowExA(0, "STATIC", "Orvelle 6", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~FakeInstances() override {
    if (window_) DestroyWindow(window_);
  }
  FakeInstances(const FakeInstances&) = delete;
  FakeInstances& operator=(const FakeInstances&) = delete;

  int count;
  bool listAvailable = true;
  std::vector<std::uint32_t> ids;
  std::vector<std::uint32_t> windowLookups;
  int listCalls = 0;

  int CountInstances() override { return count; }
  bool ListInstances(std::vector<std::uint32_t>& out) override {
    ++listCalls;
    if (!listAvailable) return false;
    out = ids;
    return true;
  }
  HWND FindMainWindow(std::uint32_t processId) override {
    windowLookups.push_back(processId);
    const bool copy = !ids.empty() && processId >= ids[0] && processId < ids[0] + static_cast<std::uint32_t>(copies_);
    return copy ? window_ : nullptr;
  }
  // The close requests (WM_CLOSE, wParam 1001) posted to the copies so far.
  int CloseRequests() {
    int requests = 0;
    MSG message;
    while (window_ && PeekMessageA(&message, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE))
      if (message.wParam == 1001) ++requests;
    return requests;
  }

 private:
  int copies_ = 0;
  HWND window_ = nullptr;
};

std::string Text(unsigned id) { return LoadStringResource(id); }

// Records the hand-over instead of installing or starting the copy.
int g_driverRuns = 0;
int g_copyStarts = 0;
bool CountDriverRun(const std::vector<std::string>&) {
  ++g_driverRuns;
  return false;
}
void CountCopyStart(const RunGuard&, bool) { ++g_copyStarts; }

class StartupTest : public testing::Test {
 protected:
  void SetUp() override { g_driverRuns = g_copyStarts = 0; }
  static CSetupApp App(FakeInstances& instances) {
    return CSetupApp(instances, StartupHandovers{&CountDriverRun, &CountCopyStart});
  }
};

const std::vector<std::string> kUninstallerArgs = {"C:\\Program Files\\Orvelle 6\\OrvUnInst.exe"};
const std::string kUninstallerPath = "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe";

using UninstallConfirmation = StartupTest;
using RunningCopiesQuestion = StartupTest;
using ClosingPass = StartupTest;

TEST_F(UninstallConfirmation, AsksStringSixAndStopsUnlessYes) {
  for (int answer : {IDNO, IDCANCEL}) {
    FakeInstances instances(3);
    CSetupApp app = App(instances);
    MessageBoxScript boxes({answer});
    EXPECT_FALSE(app.InitInstance(kUninstallerArgs, kUninstallerPath));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    const ShownMessageBox& box = boxes.Shown()[0];
    EXPECT_TRUE(IsBox(box, Text(IDS_CONFIRM_UNINSTALL), 0x134u));  // yes/no, exclamation, second button default
    EXPECT_EQ(box.text, "Cette op\xe9ration va compl\xe8tement d\xe9sinstaller Orvelle.\nVoulez-vous poursuivre ?");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(instances.listCalls, 0) << "nothing may be closed after a refusal";
  }
  EXPECT_EQ(g_copyStarts, 0);
}

TEST_F(UninstallConfirmation, SilentAsksNothingClosesWithoutAskingAndStartsTheCopy) {
  FakeInstances instances(2);
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  EXPECT_FALSE(app.InitInstance({kUninstallerPath, "-s"}, kUninstallerPath));
  EXPECT_TRUE(InstallOptions.silent);
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(instances.listCalls, 1);
  EXPECT_EQ(g_copyStarts, 1);
  EXPECT_EQ(g_driverRuns, 0);
}

TEST_F(UninstallConfirmation, YesGoesOnToCloseRunningCopiesWithoutAQuestion) {
  FakeInstances instances(5);
  CSetupApp app = App(instances);
  MessageBoxScript boxes({IDYES});
  app.InitInstance(kUninstallerArgs, kUninstallerPath);
  EXPECT_EQ(boxes.Shown().size(), 1u) << "uninstall mode never asks about running copies";
  EXPECT_EQ(instances.listCalls, 1);
  EXPECT_EQ(g_copyStarts, 1);
}

TEST_F(UninstallConfirmation, SetupModeNeverConfirmsAndRunsTheDriver) {
  FakeInstances instances;
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  app.InitInstance({"C:\\Package\\Install.exe", "-install"}, "C:\\Package\\Install.exe");
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_FALSE(InstallOptions.silent) << "silent is cleared at start";
  EXPECT_EQ(g_driverRuns, 1);
  EXPECT_EQ(g_copyStarts, 0);
}

struct QuestionCase {
  int count;  // registered processes, the setup included
  unsigned expectedString;
  const char* number;  // what stands for %d, when string 4
};

TEST_F(RunningCopiesQuestion, StringOneForOneOtherStringFourWithTheNumberOtherwise) {
  const QuestionCase cases[] = {{2, IDS_INSTANCE_RUNNING_ONE, nullptr},
                                {3, IDS_INSTANCES_RUNNING_MANY, "2"},
                                {18, IDS_INSTANCES_RUNNING_MANY, "17"}};
  for (const QuestionCase& c : cases) {
    FakeInstances instances(c.count, c.count - 1);
    CSetupApp app = App(instances);
    MessageBoxScript boxes({IDYES});
    EXPECT_TRUE(app.CloseRunningCopies(true, false, false));
    ASSERT_EQ(boxes.Shown().size(), 1u) << c.count;
    std::string expected = Text(c.expectedString);
    if (c.number) expected.replace(expected.find("%d"), 2, c.number);
    EXPECT_TRUE(IsBox(boxes.Shown()[0], expected, 0x34u));
    EXPECT_EQ(boxes.Shown()[0].owner, nullptr);
    EXPECT_EQ(instances.listCalls, 1);
    EXPECT_EQ(instances.CloseRequests(), c.count - 1);
  }
  EXPECT_EQ(Text(IDS_INSTANCES_RUNNING_MANY).rfind("%d instances d'Orvelle sont actuellement ouvertes.", 0), 0u);
}

TEST_F(RunningCopiesQuestion, AnyAnswerButYesShowsStringThreeAndClosesNothing) {
  for (int answer : {IDNO, IDCANCEL}) {
    FakeInstances instances(2, 1);
    CSetupApp app = App(instances);
    MessageBoxScript boxes({answer, IDOK});
    EXPECT_FALSE(app.CloseRunningCopies(true, false, false));
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_TRUE(IsBox(boxes.Shown()[1], Text(IDS_SETUP_INTERRUPTED), 0x40u));
    // The copies are counted from the list before the question; none is closed.
    EXPECT_EQ(instances.listCalls, 1);
    EXPECT_EQ(instances.CloseRequests(), 0);
  }
}

TEST_F(RunningCopiesQuestion, NotAskedWhenQuietOrInUninstallModeOrWhenAlone) {
  struct Case {
    int count;
    bool setupMode;
    bool quiet;
    int expectedListCalls;
    bool silent = false;
    int copies = 3;  // of the others, copies of the application; the rest stale
    int expectedCloseRequests = 3;
  } cases[] = {{4, true, true, 1},
               {4, false, false, 1},
               {4, false, false, 1, true},        // the silent uninstaller closes them too
               {4, true, false, 1, true, 3, 0},   // silent without the quiet flag: left running
               {4, true, false, 1, false, 0, 0},  // stale entries only: no running copy
               {1, true, false, 0, false, 0, 0},
               {0, true, false, 0, false, 0, 0}};
  for (const Case& c : cases) {
    FakeInstances instances(c.count, c.copies);
    CSetupApp app = App(instances);
    MessageBoxScript boxes;
    EXPECT_TRUE(app.CloseRunningCopies(c.setupMode, c.quiet, c.silent));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(instances.listCalls, c.expectedListCalls);
    EXPECT_EQ(instances.CloseRequests(), c.expectedCloseRequests);
  }
}

// "-s" at position 1 only: silent, but without the quiet flag. Nobody may be
// there to answer, so nothing is asked and the copy is left running.
TEST_F(RunningCopiesQuestion, SetupWithDashSAloneStillAsks) {
  FakeInstances instances(2, 1);
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  EXPECT_FALSE(app.InitInstance({"C:\\Package\\setup.exe", "-s"}, "C:\\Package\\setup.exe"));
  EXPECT_EQ(g_driverRuns, 1);
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(instances.CloseRequests(), 0);
}

// Drivers that end before the installation, and that install with a file
// left for the restart.
bool DriverEndsEarly(const std::vector<std::string>&) {
  ++g_driverRuns;
  return true;
}
bool DriverLeavesAFileForTheRestart(const std::vector<std::string>&) {
  ++g_driverRuns;
  NoteRestartNeeded();
  return false;
}

TEST_F(StartupTest, EveryEndingThatReturnsHasItsExitStatus) {
  const std::string setup = "C:\\Package\\setup.exe";
  struct Case {
    const char* ending;
    std::vector<std::string> args;
    std::vector<int> answers;
    int count;  // registered processes, this one included
    bool (*driver)(const std::vector<std::string>&);
    int status;
    bool anotherRun = false;  // another setup or uninstaller holds the run guard
  };
  const Case cases[] = {
      {"uninstall declined", kUninstallerArgs, {IDNO}, 1, &CountDriverRun, 1602},
      {"running copies question declined", {setup}, {IDNO, IDOK}, 2, &CountDriverRun, 1602},
      {"driver ended before the installation", {setup}, {}, 1, &DriverEndsEarly, 1602},
      {"installed", {setup}, {}, 1, &CountDriverRun, 0},
      {"installed, a file waits for the restart", {setup}, {}, 1, &DriverLeavesAFileForTheRestart, 3010},
      {"silent beside a running copy, its file waits", {setup, "-s"}, {}, 2, &DriverLeavesAFileForTheRestart, 3010},
      {"uninstaller's copy did not start", {kUninstallerPath, "-s"}, {}, 1, &CountDriverRun, 1603},
      {"setup beside another run", {setup}, {IDOK}, 2, &CountDriverRun, 1618, true},
      {"uninstaller beside another run", kUninstallerArgs, {IDOK}, 2, &CountDriverRun, 1618, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ending);
    ResetRestartNeeded();
    FakeInstances instances(c.count, c.count - 1);
    CSetupApp app(instances, StartupHandovers{c.driver, &CountCopyStart});
    MessageBoxScript boxes(c.answers);
    const RunGuard other = c.anotherRun ? RunGuard::TryTake() : RunGuard();
    ASSERT_EQ(other.Held(), c.anotherRun);
    g_driverRuns = g_copyStarts = 0;
    app.InitInstance(c.args, c.args[0]);
    EXPECT_EQ(app.ExitStatus(), c.status);
    if (c.anotherRun) {
      // Said at once, before any question, and nothing done.
      ASSERT_EQ(boxes.Shown().size(), 1u);
      EXPECT_EQ(boxes.Shown()[0].text, Text(IDS_RUN_IN_PROGRESS));
      EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
      EXPECT_EQ(instances.listCalls + g_driverRuns + g_copyStarts, 0);
    }
  }
}

TEST_F(ClosingPass, TerminatesListedCopiesOfTheApplicationButNotItself) {
  TestFolder folder;
  const StartedProcess child = StartSleepingCopy(folder / "OrvPix6.exe", 60000);
  ASSERT_TRUE(child);
  const std::uint32_t self = GetCurrentProcessId();
  const std::uint32_t gone = 0x7FFFFFF0;  // no such process

  FakeInstances instances(3);
  instances.ids = {gone, self, child.id};
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  EXPECT_TRUE(app.CloseRunningCopies(true, true, false));

  EXPECT_EQ(instances.windowLookups, (std::vector<std::uint32_t>{gone, child.id}));
  ASSERT_EQ(WaitForSingleObject(child.process.get(), 5000), WAIT_OBJECT_0) << "the listed copy still runs";
  DWORD exitCode = 1;
  GetExitCodeProcess(child.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(ClosingPass, LeavesAnUnrelatedProgramWithAStaleIdentifierAlone) {
  // A stale entry whose identifier now belongs to another program: no main
  // window of the application, not the application's executable.
  TestFolder folder;
  const StartedProcess other = StartSleepingCopy(folder / "notepad2.exe", 60000);
  ASSERT_TRUE(other);

  FakeInstances instances(2);
  instances.ids = {other.id};
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  EXPECT_TRUE(app.CloseRunningCopies(true, true, false));
  EXPECT_EQ(WaitForSingleObject(other.process.get(), 500), static_cast<DWORD>(WAIT_TIMEOUT))
      << "an unrelated program was ended";
  TerminateProcess(other.process.get(), 0);
  WaitForSingleObject(other.process.get(), 5000);
}

TEST_F(ClosingPass, AnUnavailableListClosesNothing) {
  FakeInstances instances(3);
  instances.listAvailable = false;
  CSetupApp app = App(instances);
  MessageBoxScript boxes;
  EXPECT_TRUE(app.CloseRunningCopies(true, true, false));
  EXPECT_TRUE(instances.windowLookups.empty());
}

}  // namespace
