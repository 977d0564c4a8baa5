// The 260-byte buffer rule of registry texts. Portable: also built natively
// with the sanitizers.
#include <cstring>
#include <string>

#include "common/names.h"
#include "common/registry_text.h"
#include "gtest/gtest.h"

namespace {

// The buffer as the reader leaves it: cleared, then `data` stored from its
// start, at most the buffer's size.
std::string Read(const std::string& data) {
  char buffer[kMaxPath] = {};
  std::memcpy(buffer, data.data(), data.size() < sizeof buffer ? data.size() : sizeof buffer);
  return RegistryTextOf(buffer, sizeof buffer);
}

TEST(RegistryTextTest, TextUpToTheFirstZero) {
  EXPECT_EQ(Read(std::string("C:\\Apps\0", 8)), "C:\\Apps");
  EXPECT_EQ(Read(std::string("A\0B\0", 4)), "A");  // a REG_MULTI_SZ: its first string
  EXPECT_EQ(Read(std::string("\x01\x02\x03", 3)), "\x01\x02\x03");  // binary data without a zero
  EXPECT_EQ(Read(""), "");
  EXPECT_EQ(RegistryTextOf(nullptr, 10), "");
  EXPECT_EQ(RegistryTextOf("abc", 0), "");
}

// 259 characters and the terminator fill the buffer; 260 characters without a
// terminator are too long and never cut into a 259-character text.
TEST(RegistryTextTest, TextsAt258To261Characters) {
  for (std::size_t length : {258u, 259u, 260u, 261u}) {
    SCOPED_TRACE(length);
    const std::string text(length, 'v');
    EXPECT_EQ(Read(text + '\0'), length <= 259 ? text : "");
    EXPECT_EQ(Read(text), length <= 259 ? text : "") << "stored without its terminator";
  }
}

}  // namespace
