// Text and path helpers under code page 932 (Shift-JIS), where the trail byte
// of a double-byte character can be 0x5C, the backslash. Portable: natively
// the code page is the native model's 932.
#include <string>

#include "common/codepage.h"
#include "common/text.h"
#include "gtest/gtest.h"

namespace {

// Characters whose trail byte is the backslash, and one whose trail is "@".
constexpr char kSo[] = "\x83\x5C";   // katakana so
constexpr char kHyo[] = "\x95\x5C";  // hyo, "table"
constexpr char kSmallA[] = "\x83\x40";
constexpr char kFullWidthA[] = "\x82\x60";  // full-width capital A
constexpr char kLoneLead[] = "\x83";

std::string S(std::initializer_list<const char*> parts) {
  std::string text;
  for (const char* part : parts) text += part;
  return text;
}

class DbcsTest : public testing::Test {
 protected:
  void SetUp() override {
    // A run under the wrong locale would pass most cases for nothing.
    ASSERT_EQ(AnsiCodePage(), 932u);
  }
};

TEST_F(DbcsTest, CodePageFacts) {
  EXPECT_TRUE(IsLeadByte(0x83));
  EXPECT_TRUE(IsLeadByte(0x95));
  EXPECT_FALSE(IsLeadByte('\\'));
  EXPECT_FALSE(IsLeadByte(0xB1));  // half-width katakana: single byte
}

TEST_F(DbcsTest, PathPartsDoNotSplitACharacterAtItsTrailByte) {
  const struct {
    std::string path;
    std::string folder;
    std::string name;
    std::string parent;
  } cases[] = {
      {S({"C:\\", kSo, "\\", kHyo}), S({"C:\\", kSo}), kHyo, S({"C:\\", kSo})},
      {S({"C:\\Tools\\", kSo}), "C:\\Tools", kSo, "C:\\Tools"},
      {kSo, "", kSo, ""},
      {S({"A", kSo, "B"}), "", S({"A", kSo, "B"}), ""},
      {S({"C:\\", kHyo, kSo}), "C:", S({kHyo, kSo}), "C:"},
      {S({"C:\\", kSo, "\\"}), S({"C:\\", kSo}), "", "C:"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(NamePart(c.path), c.name) << c.path;
    EXPECT_EQ(ParentFolder(c.path), c.parent) << c.path;
  }
}

TEST_F(DbcsTest, SearchesStepOverWholeCharacters) {
  EXPECT_EQ(FindLastChar(kSo, '\\'), std::string::npos);
  EXPECT_EQ(FindFirstChar(S({kSo, "\\"}), '\\'), 2u);
  EXPECT_EQ(FindLastChar(S({"\\", kSo, kHyo}), '\\'), 0u);
  EXPECT_EQ(FindLastSeparator(S({"/", kSo, kHyo})), 0u);
  EXPECT_EQ(FindFirstChar(S({kSmallA, "@"}), '@'), 2u);
}

TEST_F(DbcsTest, TrimAndNormaliseKeepTrailBytes) {
  const struct {
    std::string input;
    std::string expected;
  } separators[] = {
      {kSo, kSo},
      {S({" \\", kSo, "\\ "}), kSo},
      {S({kHyo, kSo}), S({kHyo, kSo})},
      {S({"/", kSo, "/"}), kSo},
  };
  for (const auto& c : separators) {
    std::string text = c.input;
    NormalizeSlashes(text);
    EXPECT_EQ(TrimSeparators(text), c.expected) << c.input;
  }
  std::string slashes = S({kSo, "/a/", kHyo});
  EXPECT_EQ(NormalizeSlashes(slashes), 2);
  EXPECT_EQ(slashes, S({kSo, "\\a\\", kHyo}));
  // The ideographic space is a double-byte character, not white space.
  std::string blanks = " \x81\x40 ";
  EXPECT_EQ(TrimBlanks(blanks), "\x81\x40");
}

TEST_F(DbcsTest, ToLowerLeavesDoubleByteCharactersAsTheyAre) {
  std::string text = S({"ABC", kFullWidthA, kSo, "\xB1", "XYZ"});
  EXPECT_EQ(ToLower(text), S({"abc", kFullWidthA, kSo, "\xB1", "xyz"}));
  std::string probe = "\x80\xA0\xFD\xFE\xFF";
  EXPECT_EQ(ToLower(probe), "\x80\xA0\xFD\xFE\xFF");
}

TEST_F(DbcsTest, LoneLeadByteAtTheEndIsOneCharacter) {
  const std::string path = S({"C:\\A\\x", kLoneLead});
  EXPECT_EQ(FolderPart(path), "C:\\A");
  EXPECT_EQ(NamePart(path), S({"x", kLoneLead}));
  EXPECT_EQ(ParentFolder(path), "C:\\A");
  EXPECT_EQ(FindLastChar(kLoneLead, '\\'), std::string::npos);
  std::string trimmed = S({"\\ a", kLoneLead});
  EXPECT_EQ(TrimSeparators(trimmed), S({"a", kLoneLead}));
  std::string onlyLead = kLoneLead;
  EXPECT_EQ(TrimBlanks(onlyLead), kLoneLead);
  std::string lower = S({"AB", kLoneLead});
  EXPECT_EQ(ToLower(lower), S({"ab", kLoneLead}));
}

}  // namespace
