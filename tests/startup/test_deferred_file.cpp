// DeferDelete and DeferRename on both roads: the system's list of pending
// operations, and WININIT.INI's [rename] section when the delayed move fails.
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "startup/deferred_file.h"
#include "support/pending_operations.h"
#include "support/platform_override.h"
#include "support/test_folders.h"

namespace {

// The delayed move of a system without it: every call fails and is recorded.
struct MoveCall {
  std::string existing;
  std::string replacement;  // "<null>" for none
  DWORD flags;
};
std::vector<MoveCall> g_moveCalls;

BOOL WINAPI FailingMove(LPCSTR existing, LPCSTR replacement, DWORD flags) {
  g_moveCalls.push_back({existing ? existing : "<null>", replacement ? replacement : "<null>", flags});
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

// Takes the WININIT.INI road while alive.
class WithoutDelayedMoves {
 public:
  WithoutDelayedMoves() { g_moveCalls.clear(); }

 private:
  PlatformOverride<DeferredFileCalls> moves_{DeferredFilePlatform(), {&FailingMove}};
};

// A request: a deletion of `first`, or a rename of `first` to `second`.
struct Request {
  const char* first;
  const char* second;  // null: a deletion
};

bool Make(const Request& request) {
  if (!request.second) return DeferDelete(request.first);
  DeferRename(request.first, request.second);
  return true;
}

TEST(DeferredFileSystemList, RequestsGoToTheSystemInOrderAndNotToWininit) {
  EXPECT_TRUE(DeferDelete("C:\\A\\B.dll"));
  DeferRename("C:\\A\\B.dll.new", "C:\\A\\B.dll");
  EXPECT_TRUE(DeferDelete("C:\\Program Files\\Orvelle 6\\uni 1.tmp"));

  std::vector<PendingOperation> expected = {
      {SystemListPath("C:\\A\\B.dll"), ""},
      // No "!" before the target: an existing target is not replaced.
      {SystemListPath("C:\\A\\B.dll.new"), SystemListPath("C:\\A\\B.dll")},
      {SystemListPath("C:\\Program Files\\Orvelle 6\\uni 1.tmp"), ""},
  };
  EXPECT_EQ(PendingOperations(), expected);
  EXPECT_FALSE(PathExists(WininitPath()));
}

TEST(DeferredFileSystemList, EmptyOrMissingPathsAreRefused) {
  WithoutDelayedMoves noDelayedMoves;
  EXPECT_FALSE(DeferDelete(nullptr));
  EXPECT_FALSE(DeferDelete(""));
  DeferRename(nullptr, "C:\\A");
  DeferRename("C:\\A", "");
  EXPECT_TRUE(g_moveCalls.empty());
  EXPECT_FALSE(PathExists(WininitPath())) << "an empty entry would delete or rename nothing sensible";
}

TEST(DeferredFileWininit, TheDelayedMoveIsTriedFirstWithDelayOnly) {
  WithoutDelayedMoves noDelayedMoves;
  DeferDelete("C:\\X.TMP");
  DeferRename("C:\\A\\B.dll.new", "C:\\A\\B.dll");
  ASSERT_EQ(g_moveCalls.size(), 2u);
  EXPECT_EQ(g_moveCalls[0].existing, "C:\\X.TMP");
  EXPECT_EQ(g_moveCalls[0].replacement, "<null>");
  EXPECT_EQ(g_moveCalls[1].existing, "C:\\A\\B.dll.new");
  EXPECT_EQ(g_moveCalls[1].replacement, "C:\\A\\B.dll");
  for (const MoveCall& call : g_moveCalls) EXPECT_EQ(call.flags, static_cast<DWORD>(MOVEFILE_DELAY_UNTIL_REBOOT));
}

// WININIT.INI before, the requests made, and the file after, byte for byte.
struct WininitCase {
  const char* name;
  const char* before;  // null: no WININIT.INI
  std::vector<Request> requests;
  const char* after;
};

void PrintTo(const WininitCase& c, std::ostream* out) { *out << c.name; }

class DeferredFileWininitTable : public testing::TestWithParam<WininitCase> {};

TEST_P(DeferredFileWininitTable, EntriesAreAppendedInOrder) {
  const WininitCase& c = GetParam();
  if (c.before) ASSERT_TRUE(WriteFileBytes(WininitPath(), c.before));
  WithoutDelayedMoves noDelayedMoves;
  for (const Request& request : c.requests) EXPECT_TRUE(Make(request)) << request.first;
  EXPECT_EQ(ReadFileBytes(WininitPath()), c.after);
  EXPECT_TRUE(PendingOperations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sections, DeferredFileWininitTable,
    testing::Values(
        WininitCase{"NoSectionBefore", nullptr, {{"C:\\X.TMP", nullptr}}, "[rename]\r\nNUL=C:\\X.TMP\r\n"},
        WininitCase{"TwoEntriesBeforeStayFirst",
                    "[rename]\r\nNUL=C:\\One.tmp\r\nC:\\Two.dll=C:\\Two.new\r\n",
                    {{"C:\\Three.tmp", nullptr}},
                    "[rename]\r\nNUL=C:\\One.tmp\r\nC:\\Two.dll=C:\\Two.new\r\nNUL=C:\\Three.tmp\r\n"},
        WininitCase{"DeleteThenRenameOfALockedFile",
                    nullptr,
                    {{"C:\\A\\B.dll", nullptr}, {"C:\\A\\B.dll.new", "C:\\A\\B.dll"}},
                    "[rename]\r\nNUL=C:\\A\\B.dll\r\nC:\\A\\B.dll=C:\\A\\B.dll.new\r\n"},
        WininitCase{"OtherSectionsAreKept",
                    "[boot]\r\nx=1\r\n[rename]\r\nNUL=C:\\1\r\n[other]\r\ny=2\r\n",
                    {{"C:\\2", nullptr}},
                    "[boot]\r\nx=1\r\n[rename]\r\nNUL=C:\\1\r\nNUL=C:\\2\r\n[other]\r\ny=2\r\n"},
        WininitCase{"PathsAreWrittenAsGiven",
                    nullptr,
                    {{"C:\\Program Files\\Orvelle 6\\a b.dll.new", "C:\\Program Files\\Orvelle 6\\a b.dll"}},
                    "[rename]\r\nC:\\Program Files\\Orvelle 6\\a b.dll=C:\\Program Files\\Orvelle 6\\a b.dll.new\r\n"}),
    [](const testing::TestParamInfo<WininitCase>& info) { return std::string(info.param.name); });

// The section buffer holds 16384 bytes: every entry with its zero, then the
// section's final zero. A deletion of kNearFullPath fits exactly after a
// section of kFits bytes.
constexpr std::size_t kSectionBuffer = 16384;
constexpr char kNearFullPath[] = "C:\\Program Files\\Orvelle 6\\OrvPix6.exe";
constexpr std::size_t kFits = kSectionBuffer - (sizeof "NUL=" - 1 + sizeof kNearFullPath - 1 + 1) - 1;

// A [rename] section whose entries take exactly `bytes` bytes of the buffer
// (each entry with its zero): deletions of 100 bytes, the last one taking the
// rest (101 to 200 bytes).
std::string SectionTaking(std::size_t bytes) {
  std::string file = "[rename]\r\n";
  int n = 0;
  while (bytes > 0) {
    std::size_t entry = bytes > 200 ? 100 : bytes;
    std::string head = "NUL=C:\\pad\\" + std::to_string(n++) + "_";
    file += head + std::string(entry - 1 - head.size(), 'x') + "\r\n";
    bytes -= entry;
  }
  return file;
}

struct FullSectionCase { const char* name; std::size_t sectionBytes; bool recorded; };

void PrintTo(const FullSectionCase& c, std::ostream* out) { *out << c.name; }

class DeferredFileFullSection : public testing::TestWithParam<FullSectionCase> {};

TEST_P(DeferredFileFullSection, TheBufferIsNeverOverrunAndNothingIsLost) {
  const FullSectionCase& c = GetParam();
  const std::string before = SectionTaking(c.sectionBytes);
  ASSERT_TRUE(WriteFileBytes(WininitPath(), before));

  WithoutDelayedMoves noDelayedMoves;
  EXPECT_EQ(DeferDelete(kNearFullPath), c.recorded);
  if (c.recorded) {
    EXPECT_EQ(ReadFileBytes(WininitPath()), before + "NUL=" + kNearFullPath + "\r\n");
  } else {
    // Refused whole: the earlier requests are all still there, uncut.
    EXPECT_EQ(ReadFileBytes(WininitPath()), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    NearTheBufferSize, DeferredFileFullSection,
    testing::Values(FullSectionCase{"FitsExactly", kFits, true}, FullSectionCase{"OneByteTooMany", kFits + 1, false},
                    FullSectionCase{"AlreadyLargerThanTheBuffer", 20000, false}),
    [](const testing::TestParamInfo<FullSectionCase>& info) { return std::string(info.param.name); });

TEST(DeferredFileWininit, AFailedWriteIsReportedByDeferDelete) {
  // A folder in WININIT.INI's place cannot be written as a file.
  ASSERT_TRUE(CreateDirectoryA(WininitPath().c_str(), nullptr));
  WithoutDelayedMoves noDelayedMoves;
  EXPECT_FALSE(DeferDelete("C:\\X.TMP"));
  RemoveDirectoryA(WininitPath().c_str());
}

// Every recorded request, on either road, leaves the setup's run needing a
// restart; a refused one does not.
TEST(DeferredFileRestart, RecordedRequestsMeanARestartIsNeeded) {
  ResetRestartNeeded();
  EXPECT_FALSE(DeferDelete(""));
  DeferRename("", "C:\\A.dll");
  EXPECT_FALSE(RestartNeeded());
  EXPECT_TRUE(DeferDelete("C:\\X.TMP"));
  EXPECT_TRUE(RestartNeeded());

  ResetRestartNeeded();
  DeferRename("C:\\A\\B.dll.new", "C:\\A\\B.dll");
  EXPECT_TRUE(RestartNeeded());

  ResetRestartNeeded();
  WithoutDelayedMoves wininit;
  DeferRename("C:\\A\\B.dll.new", "C:\\A\\B.dll");
  EXPECT_TRUE(RestartNeeded()) << "a WININIT.INI entry needs the restart too";
}

// Requests queued before the run's list is read and after it (the run's
// own), the path the run puts something at, and what waits for the restart
// then, on either road.
struct TakeBackCase {
  const char* name;
  std::vector<Request> before;
  std::vector<Request> own;
  const char* placed;
  std::vector<Request> left;
};

void PrintTo(const TakeBackCase& c, std::ostream* out) { *out << c.name; }

enum class Road { SystemList, Wininit };

// What is left, as the road stores it.
std::vector<PendingOperation> AsSystemList(const std::vector<Request>& requests) {
  std::vector<PendingOperation> list;
  for (const Request& r : requests)
    list.push_back({SystemListPath(r.first), r.second ? SystemListPath(r.second) : std::string()});
  return list;
}
std::string AsWininitSection(const std::vector<Request>& requests) {
  std::string section = "[rename]\r\n";
  for (const Request& r : requests)
    section += r.second ? std::string(r.second) + "=" + r.first + "\r\n" : std::string("NUL=") + r.first + "\r\n";
  return section;
}

class DeferredFileTakeBack : public testing::TestWithParam<std::tuple<TakeBackCase, Road>> {};

TEST_P(DeferredFileTakeBack, OnlyTheEarlierBareDeletionsOfThePathGo) {
  const TakeBackCase& c = std::get<0>(GetParam());
  const bool wininit = std::get<1>(GetParam()) == Road::Wininit;
  std::optional<WithoutDelayedMoves> road;
  if (wininit) road.emplace();
  for (const Request& request : c.before) ASSERT_TRUE(Make(request)) << request.first;
  PendingRestartList list;
  for (const Request& request : c.own) ASSERT_TRUE(Make(request)) << request.first;
  EXPECT_TRUE(list.TakeBackDeletion(c.placed));
  EXPECT_TRUE(list.TakeBackDeletion(c.placed)) << "a second placement at the path";
  if (wininit) {
    EXPECT_EQ(ReadFileBytes(WininitPath()), AsWininitSection(c.left));
    EXPECT_TRUE(PendingOperations().empty());
  } else {
    EXPECT_EQ(PendingOperations(), AsSystemList(c.left));
    EXPECT_FALSE(PathExists(WininitPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DeferredFileTakeBack,
    testing::Combine(
        testing::Values(
            TakeBackCase{"OtherEntriesKeepTheirOrder",
                         {{"C:\\A", nullptr}, {"C:\\B", nullptr}, {"C:\\C.new", "C:\\C"}, {"C:\\D", nullptr}},
                         {},
                         "C:\\B",
                         {{"C:\\A", nullptr}, {"C:\\C.new", "C:\\C"}, {"C:\\D", nullptr}}},
            TakeBackCase{"AReplacementsDeletionIsKept",
                         {{"C:\\A\\X.dll", nullptr}, {"C:\\A\\X.dll.new", "C:\\A\\X.dll"}},
                         {},
                         "C:\\A\\X.dll",
                         {{"C:\\A\\X.dll", nullptr}, {"C:\\A\\X.dll.new", "C:\\A\\X.dll"}}},
            TakeBackCase{"ADeletionAfterTheReplacementGoes",
                         {{"C:\\X", nullptr}, {"C:\\X.new", "C:\\X"}, {"C:\\X", nullptr}},
                         {},
                         "C:\\X",
                         {{"C:\\X", nullptr}, {"C:\\X.new", "C:\\X"}}},
            TakeBackCase{"TheRunsOwnDeletionStays",
                         {{"C:\\X", nullptr}, {"C:\\Y", nullptr}},
                         {{"C:\\X", nullptr}, {"C:\\Z", nullptr}},
                         "C:\\X",
                         {{"C:\\Y", nullptr}, {"C:\\X", nullptr}, {"C:\\Z", nullptr}}},
            TakeBackCase{"CaseIsIgnoredAndTheLastOneGoes",
                         {{"C:\\Program Files\\Orvelle 6\\ReadMe.TXT", nullptr}},
                         {},
                         "c:\\program files\\orvelle 6\\readme.txt",
                         {}},
            TakeBackCase{"AnotherPathChangesNothing", {{"C:\\A", nullptr}}, {}, "C:\\B", {{"C:\\A", nullptr}}}),
        testing::Values(Road::SystemList, Road::Wininit)),
    [](const testing::TestParamInfo<std::tuple<TakeBackCase, Road>>& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) == Road::Wininit ? "_Wininit" : "_SystemList");
    });

// A section too long for the buffer reads back cut: it is never written
// back, and the failure makes the installation's status one.
TEST(DeferredFileTakeBackFailure, ACutSectionStaysWholeAndTheRunFails) {
  const std::string before = "[rename]\r\nNUL=C:\\X\r\n" + SectionTaking(20000).substr(sizeof "[rename]\r\n" - 1);
  ASSERT_TRUE(WriteFileBytes(WininitPath(), before));
  PendingRestartList list;
  EXPECT_FALSE(list.TakeBackDeletion("C:\\X"));
  EXPECT_EQ(ReadFileBytes(WininitPath()), before);
  EXPECT_EQ(SetupExitStatus(false), exitstatus::kFailed);
}

}  // namespace
