// The lock the uninstaller's temporary copy is started under.
#include <windows.h>

#include <string>

#include "common/locked_file.h"
#include "gtest/gtest.h"
#include "support/test_folders.h"

namespace {

// A file with the original's bytes is locked: nobody can write, rename or
// delete it. One that someone holds for writing, or whose bytes differ, is
// refused.
TEST(LockFileMatching, LocksOnlyAnUnheldFileWithTheOriginalsBytes) {
  TestFolder folder;
  const std::string original = folder / "original.exe";
  const std::string copy = folder / "copy.tmp";
  const std::string bytes = std::string(100000, 'x') + "end";  // more than one read
  ASSERT_TRUE(WriteFileBytes(original, bytes));
  struct Case { const char* name; std::string bytes; bool heldForWriting; bool locks; };
  const Case cases[] = {
      {"the same bytes", bytes, false, true},
      {"held for writing by another", bytes, true, false},
      {"the last byte differs", bytes.substr(0, bytes.size() - 1) + "E", false, false},
      {"shorter", bytes.substr(0, 1000), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFileBytes(copy, c.bytes));
    UniqueHandle writer;
    if (c.heldForWriting)
      writer = HoldOpen(copy, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, GENERIC_WRITE);
    UniqueHandle lock = LockFileMatching(copy, original);
    EXPECT_EQ(static_cast<bool>(lock), c.locks);
    if (lock) EXPECT_FALSE(OthersCanChange(copy));
  }
}

}  // namespace
