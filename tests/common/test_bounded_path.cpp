// Paths joined from log entries and registry values: at the system limit of
// 259 characters a path is refused whole, never cut into another path.
// Portable: also built natively with the sanitizers.
#include <string>

#include "common/bounded_path.h"
#include "gtest/gtest.h"

namespace {

TEST(BoundedPathTest, JoinedPathsLongerThan259CharactersAreRefused) {
  const std::string folder = "C:\\" + std::string(250, 'f');        // 253 characters
  EXPECT_EQ(JoinBoundedPath(folder, "12345"), folder + "\\12345");  // 259
  EXPECT_EQ(JoinBoundedPath(folder, "123456"), "");
  EXPECT_EQ(JoinBoundedPath(folder + "\\", "12345"), folder + "\\12345");
  EXPECT_EQ(JoinBoundedPath(folder + "/", "12345"), folder + "/12345");
  EXPECT_EQ(JoinBoundedPath("", "a.txt"), "a.txt");
}

// Whatever way the length is reached: a long folder, a long name, a folder
// that brings its own separator, no folder at all.
TEST(BoundedPathTest, LimitAt258To261Characters) {
  for (std::size_t length : {258u, 259u, 260u, 261u}) {
    SCOPED_TRACE(length);
    const bool fits = length <= 259;
    const std::string name(length - 3, 'n');
    const std::string folder = "C:\\" + std::string(length - 5, 'f');  // two short of the length
    const struct {
      std::string folder;
      std::string name;
    } joins[] = {
        {"C:\\", name},  // the folder ends with its separator
        {"C:", name},    // one is added
        {folder, "x"},
        {folder + "/", "x"},
        {"", "C:\\" + name},  // no folder: the name alone
    };
    for (const auto& join : joins) {
      const std::string joined = JoinBoundedPath(join.folder, join.name);
      if (fits) {
        EXPECT_EQ(joined.size(), length) << join.folder << " + " << join.name;
      } else {
        EXPECT_EQ(joined, "") << join.folder << " + " << join.name;
      }
    }
    EXPECT_EQ(FitsPathLimit(std::string(length, 'p')), fits);
  }
}

}  // namespace
