// Text and path helpers under a single-byte code page. Portable: also built
// natively with the sanitizers.
#include <string>

#include "common/codepage.h"
#include "common/text.h"
#include "gtest/gtest.h"

namespace {

struct TrimCase { const char* input; TrimEnd ends; const char* expected; };

TEST(TrimSeparatorsTest, RemovesSeparatorRunsAtTheChosenEnds) {
  const TrimCase cases[] = {
      {"\\\\", TrimEnd::Both, ""},
      {"C:\\", TrimEnd::Both, "C:"},
      {"\\\\server\\share\\", TrimEnd::Both, "server\\share"},
      {" \t\r\n\\abc\\ \n\r\t", TrimEnd::Both, "abc"},
      {" a\\ b ", TrimEnd::Start, "a\\ b "},
      {" a\\ b ", TrimEnd::End, " a\\ b"},
      {"a \\ b", TrimEnd::Both, "a \\ b"},
      {"\va\f", TrimEnd::Both, "\va\f"},  // vertical tab and form feed are not separators
      {"/a/", TrimEnd::Both, "/a/"},      // nor is the slash
      {"", TrimEnd::Both, ""},
      {" \\ ", TrimEnd::End, ""},
  };
  for (const TrimCase& c : cases) {
    std::string text = c.input;
    EXPECT_EQ(TrimSeparators(text, c.ends), c.expected) << "input: " << c.input;
  }
}

TEST(TrimSeparatorsTest, FolderPathNormalisationAsTheCallersApplyIt) {
  std::string text = " /Tools/Orvelle 6/ ";
  EXPECT_EQ(NormalizeSlashes(text), 3);
  TrimSeparators(text, TrimEnd::Start);
  TrimSeparators(text, TrimEnd::End);
  EXPECT_EQ(text, "Tools\\Orvelle 6");
}

TEST(TrimBlanksTest, RemovesWhiteSpaceRunsAtTheChosenEnds) {
  const TrimCase cases[] = {
      {" \t\n\v\f\r", TrimEnd::Both, ""},
      {"\v a b \f", TrimEnd::Both, "a b"},
      {"\\a\\", TrimEnd::Both, "\\a\\"},  // the backslash is not white space
      {"  a  ", TrimEnd::Start, "a  "},
      {"  a  ", TrimEnd::End, "  a"},
      {"", TrimEnd::Both, ""},
  };
  for (const TrimCase& c : cases) {
    std::string text = c.input;
    EXPECT_EQ(TrimBlanks(text, c.ends), c.expected) << "input: " << c.input;
  }
}

TEST(NormalizeSlashesTest, ReplacesAndCountsEverySlash) {
  const struct {
    const char* input;
    const char* expected;
    int count;
  } cases[] = {
      {"a/b/c", "a\\b\\c", 2},
      {"//", "\\\\", 2},
      {"C:\\a", "C:\\a", 0},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    std::string text = c.input;
    EXPECT_EQ(NormalizeSlashes(text), c.count) << c.input;
    EXPECT_EQ(text, c.expected);
  }
}

TEST(PathPartsTest, FolderPartAndNamePartSplitAtTheLastBackslash) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"C:\\Tools\\setup.exe", "C:\\Tools", "setup.exe"},
      {"setup.exe", "", "setup.exe"},
      {"C:\\", "C:", ""},
      {"Startup", "", "Startup"},
      {"\\a", "", "a"},
      {"a/b", "", "a/b"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(NamePart(c.path), c.name) << c.path;
  }
}

TEST(PathPartsTest, ParentFolder) {
  const struct {
    const char* path;
    const char* parent;
  } cases[] = {
      {"C:\\Tools\\Orvelle 6", "C:\\Tools"},
      {"C:\\Tools\\Orvelle 6\\", "C:\\Tools"},
      {"C:\\Tools", "C:"},
      {"C:\\", ""},
      {"C:", ""},
      {"Orvelle", ""},
      {"\\Orvelle", ""},
      {"C:\\a\\\\", "C:\\a"},  // only one trailing backslash is ignored
      {"\\\\server\\share", "\\\\server"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ParentFolder(c.path), c.parent) << c.path;
  EXPECT_EQ(ParentFolder(nullptr), "");
}

TEST(PathPartsTest, IsWithinFolder) {
  const struct {
    const char* path;
    const char* folder;
    bool within;
  } cases[] = {
      {"C:\\Apps\\Orvelle 6\\bin\\a.dll", "C:\\Apps\\Orvelle 6", true},
      {"c:/apps/orvelle 6", "C:\\Apps\\Orvelle 6\\", true},
      {"C:\\Apps\\Orvelle 60\\a.dll", "C:\\Apps\\Orvelle 6", false},  // a longer name is another folder
      {"C:\\Apps", "C:\\Apps\\Orvelle 6", false},
      {"C:\\a.dll", "C:\\", true},
      {"D:\\a.dll", "C:\\", false},
      {"C:\\a.dll", "", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWithinFolder(c.path, c.folder), c.within) << c.path << " in " << c.folder;
}

TEST(PathPartsTest, FullPathsNeedNoCurrentFolder) {
  for (const char* full : {"C:\\", "c:\\Apps\\Orvelle 6", "\\\\server\\share"}) EXPECT_TRUE(IsFullPath(full)) << full;
  for (const char* relative : {"", "C:", "C:Apps", "\\Apps", "Apps\\Orvelle 6", "1:\\Apps", "-s"})
    EXPECT_FALSE(IsFullPath(relative)) << relative;
}

TEST(FindCharTest, FirstAndLast) {
  EXPECT_EQ(FindFirstChar("a>b>c", '>'), 1u);
  EXPECT_EQ(FindLastChar("a>b>c", '>'), 3u);
  EXPECT_EQ(FindFirstChar("abc", '>'), std::string::npos);
  EXPECT_EQ(FindLastChar("", '\\'), std::string::npos);
  // Either separator ends a folder part, whichever comes last.
  EXPECT_EQ(FindLastSeparator("Sub\\a/b.txt"), 5u);
  EXPECT_EQ(FindLastSeparator("Sub/a\\b.txt"), 5u);
  EXPECT_EQ(FindLastSeparator("b.txt"), std::string::npos);
}

// Code page 1252: the test locale is French (natively, the default model).
TEST(ToLowerTest, FollowsTheRulesOfCodePage1252) {
  ASSERT_EQ(AnsiCodePage(), 1252u);
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  ToLower(all);
  for (int byte = 1; byte < 256; ++byte) {
    int expected = byte;
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
      expected = byte + 0x20;  // ASCII, and À..Þ without ×
    } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
      expected = byte + 0x10;  // Š Œ Ž
    } else if (byte == 0x9F) {
      expected = 0xFF;  // Ÿ
    }
    EXPECT_EQ(static_cast<unsigned char>(all[byte - 1]), expected) << "byte " << byte;
  }
  std::string text = "C:\\PROGRAM FILES\\\xC9T\xC9";
  EXPECT_EQ(ToLower(text), "c:\\program files\\\xE9t\xE9");
}

}  // namespace
