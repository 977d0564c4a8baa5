// The version value that versions are compared by. Portable: also built
// natively with the sanitizers.
#include <cstdint>
#include <string>

#include "driver/version_value.h"
#include "gtest/gtest.h"

namespace {

std::string Show(const FileVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.third) + "." +
         std::to_string(v.fourth);
}

TEST(VersionValueTest, PartsWeighedByHundredModulo2To32) {
  struct Case { FileVersion version; std::uint32_t value; };
  const Case cases[] = {
      {{6, 1, 2, 3}, 6010203u},
      {{6, 1, 2, 10}, 6010210u},
      {{6, 1, 100, 0}, 6020000u},
      {{6, 2, 0, 0}, 6020000u},
      {{0, 0, 0, 0}, 0u},
      {{4294, 96, 72, 95}, 4294967295u},
      {{4294, 96, 72, 96}, 0u},  // 2^32 wraps to 0
      {{4294, 96, 72, 97}, 1u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.version));
    EXPECT_EQ(VersionValue(c.version), c.value);
  }
}

// Parts as a version resource can hold them (16 bits each): the value wraps
// but never traps.
TEST(VersionValueTest, LargestPartsWrapModulo2To32) {
  const FileVersion largest{65535, 65535, 65535, 65535};
  const std::uint32_t expected =
      ((((65535u * 100u) + 65535u) * 100u + 65535u) * 100u + 65535u);  // unsigned: arithmetic modulo 2^32
  EXPECT_EQ(VersionValue(largest), expected);
  EXPECT_EQ(VersionValue({65535, 0, 0, 0}), static_cast<std::uint32_t>(65535ull * 1000000ull % 4294967296ull));
}

}  // namespace
