// What was queued really happens at the restart, on both roads: the deleted
// file is gone and the renamed file has its new name.
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

#include "gtest/gtest.h"
#include "startup/deferred_file.h"
#include "support/pending_operations.h"
#include "support/platform_override.h"
#include "support/test_folders.h"

namespace {

BOOL WINAPI NoDelayedMoves(LPCSTR, LPCSTR, DWORD) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

enum class Road { SystemList, Wininit };
const char* Name(Road road) { return road == Road::SystemList ? "SystemList" : "Wininit"; }
void PrintTo(Road road, std::ostream* out) { *out << Name(road); }

class DeferredFileRestart : public testing::TestWithParam<Road> {
 protected:
  void SetUp() override {
    if (GetParam() == Road::Wininit) moves_.emplace(DeferredFilePlatform(), DeferredFileCalls{&NoDelayedMoves});
  }

  TestFolder folder_;
  std::optional<PlatformOverride<DeferredFileCalls>> moves_;
};

TEST_P(DeferredFileRestart, QueuedOperationsHappenInOrder) {
  // A stray file to delete, and a locked file replaced the way the file copy
  // does it: the target deleted, then the new file renamed onto it.
  const std::string stray = folder_ / "stray.tmp";
  const std::string target = folder_ / "B.dll";
  const std::string replacement = folder_ / "B.dll.new";
  ASSERT_TRUE(WriteFileBytes(stray, "stray"));
  ASSERT_TRUE(WriteFileBytes(target, "old"));
  ASSERT_TRUE(WriteFileBytes(replacement, "new"));

  EXPECT_TRUE(DeferDelete(stray.c_str()));
  EXPECT_TRUE(DeferDelete(target.c_str()));
  DeferRename(replacement.c_str(), target.c_str());
  // Nothing happens before the restart.
  EXPECT_TRUE(PathExists(stray));
  EXPECT_EQ(ReadFileBytes(target), "old");

  ASSERT_TRUE(RestartPrefix());
  EXPECT_FALSE(PathExists(stray));
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_FALSE(PathExists(replacement));
  // Carried out once: nothing stays queued for the restart after.
  EXPECT_TRUE(PendingOperations().empty());
  EXPECT_FALSE(PathExists(WininitPath()));
}

INSTANTIATE_TEST_SUITE_P(Roads, DeferredFileRestart, testing::Values(Road::SystemList, Road::Wininit),
                         [](const testing::TestParamInfo<Road>& info) { return std::string(Name(info.param)); });

}  // namespace
