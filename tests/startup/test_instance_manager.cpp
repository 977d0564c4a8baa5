#include "startup/instance_manager.h"

#include <cstring>
#include <string>
#include <vector>

#include "common/names.h"
#include "gtest/gtest.h"
#include "raw_instance_list.h"

namespace {

using namespace instance_protocol;

// Each test uses its own instance name, so nothing is shared with a list that
// another object of the same process made.
std::string TestName(const char* suffix) { return std::string("OrvTest.") + suffix; }

std::vector<std::uint32_t> Slots(RawInstanceList& raw, std::uint32_t upTo) {
  return std::vector<std::uint32_t>(raw->slots, raw->slots + upTo);
}

TEST(InstanceList, FirstProcessCreatesTheMemoryAndIsItsOnlyEntry) {
  const std::string name = TestName("first");
  COXInstanceManager registry(name.c_str());
  RawInstanceList raw(name);
  ASSERT_TRUE(raw) << "the memory is not reachable by its protocol name";
  EXPECT_EQ(raw->created, 1u);
  EXPECT_EQ(raw->count, 1u);
  EXPECT_EQ(raw->slots[0], GetCurrentProcessId());
  for (std::uint32_t i = 1; i < kMaxInstances; ++i) ASSERT_EQ(raw->slots[i], 0u) << "slot " << i;
  EXPECT_EQ(registry.CountInstances(), 1);
  // Two regions, each rounded up to the allocation granularity.
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  EXPECT_GE(raw.MappedSize(), 2u * system.dwAllocationGranularity);

  // The mutexes exist under their protocol names.
  for (const char* prefix : {kListMutexPrefix, kAdditionalMutexPrefix}) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, (prefix + name).c_str());
    EXPECT_NE(mutex, nullptr) << prefix;
    if (mutex) CloseHandle(mutex);
  }
}

TEST(InstanceList, LaterRegistrationsAppendAndRemovalShiftsTheRest) {
  const std::string name = TestName("order");
  COXInstanceManager registry(name.c_str());
  const std::uint32_t self = GetCurrentProcessId();
  EXPECT_TRUE(registry.RegisterInstance(1111));
  EXPECT_TRUE(registry.RegisterInstance(2222));
  RawInstanceList raw(name);
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->count, 3u);
  EXPECT_EQ(Slots(raw, 4), (std::vector<std::uint32_t>{self, 1111, 2222, 0}));

  // Removing slot 0 of three: the others move down, slot 2 is cleared.
  EXPECT_TRUE(registry.UnregisterInstance(self));
  EXPECT_EQ(raw->count, 2u);
  EXPECT_EQ(Slots(raw, 3), (std::vector<std::uint32_t>{1111, 2222, 0}));
  EXPECT_FALSE(registry.UnregisterInstance(self)) << "an absent process is not removed twice";

  std::vector<std::uint32_t> ids{7};
  EXPECT_TRUE(registry.ListInstances(ids));
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{1111, 2222}));
  EXPECT_EQ(registry.CountInstances(), 2);
}

TEST(InstanceList, SecondObjectJoinsTheExistingListWithoutResettingIt) {
  const std::string name = TestName("join");
  COXInstanceManager first(name.c_str());
  first.RegisterInstance(4242);
  {
    COXInstanceManager second(name.c_str());
    RawInstanceList raw(name);
    EXPECT_EQ(raw->count, 3u);
    EXPECT_EQ(Slots(raw, 3), (std::vector<std::uint32_t>{GetCurrentProcessId(), 4242, GetCurrentProcessId()}));
  }
  // The second object's end removes the first entry of this process.
  RawInstanceList raw(name);
  EXPECT_EQ(raw->count, 2u);
  EXPECT_EQ(Slots(raw, 2), (std::vector<std::uint32_t>{4242, GetCurrentProcessId()}));
}

TEST(InstanceList, AFullListRefusesAndStaysUnchanged) {
  const std::string name = TestName("full");
  COXInstanceManager registry(name.c_str());
  RawInstanceList raw(name);
  ASSERT_TRUE(raw);
  for (std::uint32_t i = 0; i < kMaxInstances; ++i) raw->slots[i] = 50000 + i;
  raw->count = kMaxInstances;
  const std::string before = raw.Bytes();
  EXPECT_FALSE(registry.RegisterInstance(77));
  EXPECT_EQ(raw.Bytes(), before);
  EXPECT_EQ(registry.CountInstances(), 1000);
}

TEST(InstanceList, ACountBeyondTheSlotsIsNotReadPastThem) {
  const std::string name = TestName("corrupt");
  COXInstanceManager registry(name.c_str());
  RawInstanceList raw(name);
  raw->count = 0xFFFFFFFF;
  std::vector<std::uint32_t> ids;
  EXPECT_TRUE(registry.ListInstances(ids));
  EXPECT_EQ(ids.size(), kMaxInstances);
  EXPECT_FALSE(registry.RegisterInstance(5));
  raw->count = 1;
}

TEST(InstanceList, UnavailableMemoryCountsNothingAndDoesNotCrash) {
  // Another kernel object already holds the memory's name, so the mapping
  // cannot be created.
  const std::string name = TestName("taken");
  HANDLE squatter = CreateEventA(nullptr, FALSE, FALSE, (kFileMapPrefix + name).c_str());
  ASSERT_NE(squatter, nullptr);
  {
    COXInstanceManager registry(name.c_str());
    EXPECT_EQ(registry.CountInstances(), 0);
    std::vector<std::uint32_t> ids{1, 2};
    EXPECT_FALSE(registry.ListInstances(ids));
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 2})) << "the array stays untouched";
    EXPECT_FALSE(registry.RegisterInstance(3));
    EXPECT_FALSE(registry.UnregisterInstance(GetCurrentProcessId()));
  }
  CloseHandle(squatter);
}

// Windows of this process that record the registry's messages.
std::vector<std::pair<UINT, LPARAM>> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRegisteredMessage || message == kUnregisteredMessage) {
    EXPECT_EQ(wParam, 0u);
    g_received.emplace_back(message, lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* title, DWORD exStyle = 0, HWND owner = nullptr) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvTestWindow";
    registered = RegisterClassA(&windowClass) != 0;
  }
  return CreateWindowExA(exStyle, "OrvTestWindow", title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, owner, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

TEST(MainWindow, OnlyAnUnownedNormalWindowTitledOrvelleCounts) {
  const std::uint32_t self = GetCurrentProcessId();
  COXInstanceManager registry(TestName("windows").c_str());
  EXPECT_EQ(registry.FindMainWindow(self), nullptr);

  HWND tool = MakeWindow("Orvelle 6 - outils", WS_EX_TOOLWINDOW);
  HWND lower = MakeWindow("orvelle 6");
  HWND dde = MakeWindow("DDE Server Window");
  HWND other = MakeWindow("Bloc-notes");
  EXPECT_EQ(registry.FindMainWindow(self), nullptr) << "tool, lower-case and foreign titles are not taken";

  HWND owner = MakeWindow("Bloc-notes 2");
  HWND owned = MakeWindow("Orvelle 6 - dialogue", 0, owner);
  EXPECT_EQ(registry.FindMainWindow(self), nullptr) << "an owned window is not taken";

  HWND main = MakeWindow("Orvelle 6 - image.png");
  EXPECT_EQ(registry.FindMainWindow(self), main);
  EXPECT_EQ(registry.FindMainWindow(0x7FFFFFF0), nullptr);
  for (HWND window : {main, owned, owner, other, dde, lower, tool}) DestroyWindow(window);
}

TEST(MainWindow, ListedProcessesAreToldOfArrivalsAndDepartures) {
  HWND main = MakeWindow("Orvelle 6");
  ASSERT_NE(main, nullptr);
  COXInstanceManager registry(TestName("messages").c_str());  // this process: slot 0
  g_received.clear();
  EXPECT_TRUE(registry.RegisterInstance(3333));
  PumpMessages();
  EXPECT_EQ(g_received, (std::vector<std::pair<UINT, LPARAM>>{{kRegisteredMessage, 3333}}))
      << "the new process is not told about itself; the listed one is";

  g_received.clear();
  EXPECT_TRUE(registry.UnregisterInstance(3333));
  PumpMessages();
  EXPECT_EQ(g_received, (std::vector<std::pair<UINT, LPARAM>>{{kUnregisteredMessage, 3333}}));

  // A refused registration posts nothing.
  RawInstanceList raw(TestName("messages"));
  raw->count = kMaxInstances;
  g_received.clear();
  EXPECT_FALSE(registry.RegisterInstance(4444));
  PumpMessages();
  EXPECT_TRUE(g_received.empty());
  raw->count = 1;
  DestroyWindow(main);
}

TEST(InstanceList, TheSetupRegistersUnderTheApplicationsName) {
  EXPECT_STREQ(names::kInstanceName, "Tamberlin.Orvelle-KQ.v4");
  EXPECT_EQ(std::string(kFileMapPrefix) + names::kInstanceName, "COXInstanceManager_FileMap_Tamberlin.Orvelle-KQ.v4");
}

}  // namespace
