// File specs under code page 932, where a trail byte can equal the backslash
// code: the ">" search and the component walk step over whole characters.
// Portable: natively the code page is the native model's 932.
#include <cstring>
#include <string>

#include "common/codepage.h"
#include "gtest/gtest.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"

namespace {

constexpr char kSo[] = "\x83\x5C";  // katakana so: its trail byte is the backslash code

std::string Spec(const std::string& argument) {
  return FileSpecOf("File Copy: " + argument, std::strlen("File Copy: "));
}

class FileSpecDbcsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u); }
};

TEST_F(FileSpecDbcsTest, PairTargetAfterTheFirstRealArrow) {
  EXPECT_EQ(Spec(std::string(kSo) + ".cfg > " + kSo + ".ini"), std::string(kSo) + ".ini");
  // A lead byte takes the byte after it: "\x83>" is one character, no arrow.
  EXPECT_EQ(Spec("a\x83> b"), "a\x83> b");
  EXPECT_EQ(Spec("a\x83>> b"), "b");
}

TEST_F(FileSpecDbcsTest, TrailBytesAreNeitherSeparatorsNorDots) {
  const struct {
    std::string name;
    bool inside;
  } cases[] = {
      {std::string(kSo) + "\\a.txt", true},
      {std::string(kSo) + "..\\a.txt", true},   // "so.." is a name, not the parent
      {std::string("..") + kSo + "\\a.txt", true},
      {std::string(kSo) + "\\..\\a.txt", false},
      {std::string("..\\") + kSo, false},
      {std::string("\x83/..\\x"), true},        // the slash is the lead byte's trail byte
      {std::string("\x83/..\\..\\x"), false},
  };
  for (const auto& c : cases) EXPECT_EQ(StaysInsideFolder(c.name), c.inside) << c.name;
}

}  // namespace
