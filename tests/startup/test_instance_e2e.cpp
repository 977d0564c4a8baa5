// Copies of the application stand-in register in the shared list the way the
// application does and record what they receive; the real setup.exe and
// uninstaller count, ask about and close them.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "common/string_table.h"
#include "gtest/gtest.h"
#include "raw_instance_list.h"
#include "resources/resource_ids.h"
#include "startup/instance_manager.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

using namespace instance_protocol;

constexpr DWORD kWait = 20000;

// Waits until the list holds `count` entries (the memory exists while a
// registered process holds it open).
bool WaitForCount(std::uint32_t count) {
  return WaitUntil(
      [count] {
        RawInstanceList list;
        return list && list->count == count;
      },
      kWait);
}

class InstancesEndToEnd : public testing::Test, protected PackageRun {
 protected:
  InstancesEndToEnd() : PackageRun("orvtest", "package") {}
  void SetUp() override { ASSERT_TRUE(CopyPackage()); }

  // Starts a stand-in copy of the application that records its messages
  // (the one at `exe` when given); returns when it has registered.
  StartedProcess StartCopy(const std::string& name, std::string exe = std::string()) {
    if (exe.empty()) exe = root_ / "OrvPix6.exe";
    if (!PathExists(exe)) CopyFileA((ProgramFolder() + "\\OrvPix6-6.1.2.3.exe").c_str(), exe.c_str(), FALSE);
    RawInstanceList before;
    const std::uint32_t count = before ? before->count : 0;
    StartedProcess copy = Start(exe, "--record \"" + Record(name) + "\"");
    EXPECT_TRUE(WaitForCount(count + 1)) << name << " did not register";
    EXPECT_NE(ui::WaitForWindowTitled(copy.id, "Orvelle 6", kWait), nullptr) << name << " shows no window";
    return copy;
  }

  std::string Record(const std::string& name) { return root_ / (name + ".txt"); }

  // What a copy recorded so far, one entry per line.
  std::vector<std::string> Recorded(const std::string& name) {
    std::vector<std::string> lines;
    std::string bytes = ReadFileBytes(Record(name)), line;
    for (char c : bytes) {
      if (c == '\r') continue;
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
    return lines;
  }

  // Waits until the copy has recorded `line`.
  bool WaitForRecord(const std::string& name, const std::string& line) {
    return WaitUntil(
        [&] {
          const std::vector<std::string> recorded = Recorded(name);
          return std::find(recorded.begin(), recorded.end(), line) != recorded.end();
        },
        kWait);
  }

  static bool Ended(StartedProcess& process, DWORD timeoutMs = kWait) {
    return WaitForSingleObject(process.process.get(), timeoutMs) == WAIT_OBJECT_0;
  }

};

TEST_F(InstancesEndToEnd, ListedCopiesAreToldOfTheSetupWhichTakesTheNextSlot) {
  StartedProcess a = StartCopy("a");
  StartedProcess b = StartCopy("b");
  EXPECT_TRUE(WaitForRecord("a", "1946 " + std::to_string(b.id))) << "a was not told of b";

  {
    COXInstanceManager setup(names::kInstanceName);  // what the setup does first
    RawInstanceList list;
    EXPECT_EQ(list.Entries(), (std::vector<std::uint32_t>{a.id, b.id, GetCurrentProcessId()}));
    const std::string arrival = "1946 " + std::to_string(GetCurrentProcessId());
    EXPECT_TRUE(WaitForRecord("a", arrival));
    EXPECT_TRUE(WaitForRecord("b", arrival));
    EXPECT_EQ(setup.CountInstances(), 3);
  }
  // The setup's end takes it out again, and the copies are told.
  const std::string departure = "1947 " + std::to_string(GetCurrentProcessId());
  EXPECT_TRUE(WaitForRecord("a", departure));
  EXPECT_TRUE(WaitForRecord("b", departure));
  for (StartedProcess* copy : {&a, &b}) TerminateProcess(copy->process.get(), 0);
}

TEST_F(InstancesEndToEnd, ACopyThatEndsNormallyLeavesTheListAndTheOthersAreTold) {
  StartedProcess a = StartCopy("a");
  StartedProcess b = StartCopy("b");
  StartedProcess c = StartCopy("c");
  PostMessageA(ui::WaitForWindowTitled(a.id, "Orvelle 6", kWait), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended(a));
  ASSERT_TRUE(WaitForCount(2));
  RawInstanceList list;
  EXPECT_EQ(list.Entries(), (std::vector<std::uint32_t>{b.id, c.id}));
  EXPECT_EQ(list->slots[2], 0u) << "the freed slot is cleared";
  const std::string departure = "1947 " + std::to_string(a.id);
  EXPECT_TRUE(WaitForRecord("b", departure));
  EXPECT_TRUE(WaitForRecord("c", departure));
  for (StartedProcess* copy : {&b, &c}) TerminateProcess(copy->process.get(), 0);
}

TEST_F(InstancesEndToEnd, SilentSetupClosesEveryRunningCopyWithoutAsking) {
  StartedProcess a = StartCopy("a");
  StartedProcess b = StartCopy("b");
  StartedProcess setup = StartSetup("-install -s");
  EXPECT_TRUE(Ended(a)) << "a still runs";
  EXPECT_TRUE(Ended(b)) << "b still runs";
  EXPECT_TRUE(WaitForRecord("a", "close 1001"));
  EXPECT_TRUE(WaitForRecord("b", "close 1001"));
  EXPECT_EQ(WaitForExit(setup, 60000), 0);
}

// "-s" alone is silent without the quiet flag: nobody may be there to answer,
// so nothing is asked and the installed copy keeps running; the file it holds
// is replaced the way files in use are, and the restart it waits for is said
// by the status.
TEST_F(InstancesEndToEnd, SetupWithDashSAloneStillAsksAndDecliningClosesNothing) {
  ASSERT_EQ(RunSetup("-install -s"), 0);
  const std::string installedApp = DefaultInstalledFolder() + "\\" + names::kApplicationExe;
  StartedProcess a = StartCopy("a", installedApp);
  {
    // The package's application differs from the running one (same version).
    UniqueHandle packaged(CreateFileA((package_ + "\\" + names::kApplicationExe).c_str(), FILE_APPEND_DATA, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(packaged && WriteFile(packaged.get(), "next", 4, &written, nullptr));
  }
  StartedProcess setup = StartSetup("-s");
  // A question would wait for an answer: the run ends on its own.
  EXPECT_EQ(WaitForExit(setup, 60000), 3010);

  EXPECT_FALSE(Ended(a, 200)) << "the silent run closed the copy";
  // The copy heard of the setup's arrival and departure, and nothing else.
  const std::string setupId = std::to_string(setup.id);
  EXPECT_EQ(Recorded("a"), (std::vector<std::string>{"1946 " + setupId, "1947 " + setupId}));
  TerminateProcess(a.process.get(), 0);
}

// Only live copies of the application count: one with a window and sixteen
// known by the application's executable. A run of this program and entries
// of processes gone without clean-up are listed too, and not counted.
TEST_F(InstancesEndToEnd, SeventeenOtherInstancesAreCountedInTheQuestion) {
  StartedProcess a = StartCopy("a");
  const std::string more = root_ / "more";
  ASSERT_TRUE(MakeFolders(more));
  const std::string exe = more + "\\" + names::kApplicationExe;
  std::vector<StartedProcess> others;
  others.push_back(StartSleepingCopy(exe, 60000));
  for (int i = 0; i < 16; ++i) others.push_back(StartProgram(exe, "--orv-child-sleep 60000"));
  StartedProcess& ours = others.back();  // marked as a run of this program
  const UniqueHandle mark(CreateEventA(nullptr, TRUE, FALSE, (names::kProgramMarkPrefix + std::to_string(ours.id)).c_str()));
  {
    RawInstanceList list;
    for (const StartedProcess& other : others) list->slots[list->count++] = other.id;
    for (std::uint32_t i = 0; i < 3; ++i) list->slots[list->count++] = 0x7FFF0000 + i;
  }
  StartedProcess setup = StartSetup("");
  HWND question = ui::WaitForDialog(setup.id, kWait);
  ASSERT_NE(question, nullptr);
  std::string expected = LoadStringResource(IDS_INSTANCES_RUNNING_MANY);
  expected.replace(expected.find("%d"), 2, "17");
  EXPECT_EQ(ui::MessageBoxText(question), expected);
  ui::Press(question, IDNO);
  ui::WaitForClose(question, kWait);
  if (HWND interrupted = ui::WaitForDialog(setup.id, kWait)) ui::Press(interrupted, IDOK);
  EXPECT_NE(WaitForExit(setup, kWait), -1);
  TerminateProcess(a.process.get(), 0);
  for (StartedProcess& other : others) TerminateProcess(other.process.get(), 0);
}

TEST_F(InstancesEndToEnd, SilentUninstallerClosesRunningCopiesWithoutAsking) {
  StartedProcess a = StartCopy("a");
  const std::string installed = root_ / "Orvelle 6";
  ASSERT_TRUE(MakeFolders(installed));
  const std::string uninstaller = UninstallerIn(installed);
  ASSERT_TRUE(CopySetupTo(uninstaller));
  StartedProcess run = Start(uninstaller, "-s");
  EXPECT_TRUE(Ended(a)) << "the copy still runs";
  EXPECT_TRUE(WaitForRecord("a", "close 1001"));
  EXPECT_EQ(WaitForExit(run, kWait), 0);
  EXPECT_EQ(ui::WaitForDialog(run.id, 0), nullptr);
}

TEST_F(InstancesEndToEnd, AStaleEntryReusedByAnotherProgramLeavesThatProgramAlone) {
  StartedProcess a = StartCopy("a");
  // An unrelated program of ours, without a window, whose identifier stands
  // in the list as a stale entry would after identifier reuse.
  StartedProcess other = StartProgram(ProgramFolder() + "\\instance_e2e_test.exe", "--orv-child-sleep 60000");
  ASSERT_TRUE(other);
  {
    RawInstanceList list;
    list->slots[list->count] = other.id;
    list->count += 1;
  }
  StartedProcess setup = StartSetup("-install -s");
  EXPECT_TRUE(Ended(a)) << "the registered copy still runs";
  EXPECT_EQ(WaitForExit(setup, 60000), 0);
  EXPECT_FALSE(Ended(other, 200)) << "the unrelated program was ended";
  TerminateProcess(other.process.get(), 0);
}

}  // namespace
