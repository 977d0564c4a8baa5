// Reading rules and the writer of the installation log format, on real files.
// Portable: also built natively with the sanitizers.
#ifdef _WIN32
#include <windows.h>
#endif

#include <iterator>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "support/scratch_folder.h"
#include "uninstall/install_log.h"

namespace {

const char* const kAllPrefixes[] = {"File Copy: ", "File Copy x64: ", "File Copy ind: ", "File Overwrite: ",
                                    "File Del: ", "Make Dir: ", "Made Dir: ", "Shell Link: "};
// The kind each of those prefixes names, in the same order.
const LogKind kAllKinds[] = {LogKind::FileCopy, LogKind::FileCopyX64, LogKind::FileCopyInd, LogKind::FileOverwrite,
                             LogKind::FileDel,  LogKind::MakeDir,     LogKind::MadeDir,     LogKind::ShortcutLink};

// The text after `prefix` when the entry is of the kind that prefix names,
// otherwise null.
const char* ArgumentFor(const LogEntry& entry, const char* prefix) {
  for (std::size_t i = 0; i < std::size(kAllPrefixes); ++i) {
    if (std::string(kAllPrefixes[i]) == prefix) return entry.kind == kAllKinds[i] ? entry.operand : nullptr;
  }
  return nullptr;
}

std::vector<std::string> ReadLines(LogReader& reader) {
  std::vector<std::string> lines;
  while (reader.Next()) lines.push_back(reader.Line());
  return lines;
}

std::vector<std::string> ReadLines(const std::string& path) {
  LogReader reader(path.c_str());
  return ReadLines(reader);
}

std::string WithTextLineEnds(const std::string& lines) {
  std::string text;
  for (char c : lines) {
    if (c == '\n')
      text += kTextLineEnd;
    else
      text += c;
  }
  return text;
}

class InstallLogTest : public testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    EXPECT_EQ(folder_.Write("OrvUnInst.log", bytes), path_);
    return path_;
  }
  ScratchFolder folder_;
  std::string path_ = folder_.File("OrvUnInst.log");
};

TEST_F(InstallLogTest, LongLinesAreReadIn511BytePieces) {
  const std::string x600(600, 'x');
  EXPECT_EQ(ReadLines(Write(x600 + "\r\nFile Copy: a.dll\r\n")),
            (std::vector<std::string>{std::string(511, 'x'), std::string(89, 'x'), "File Copy: a.dll"}));
  // 510 characters and the line feed fit one piece; with 511 the line feed is
  // a piece of its own, kept as its first byte.
  EXPECT_EQ(ReadLines(Write(std::string(510, 'y') + "\n")), (std::vector<std::string>{std::string(510, 'y')}));
  EXPECT_EQ(ReadLines(Write(std::string(511, 'y') + "\n")),
            (std::vector<std::string>{std::string(511, 'y'), "\n"}));
  // The bytes are read as they are: a CR LF that does not fit the piece
  // leaves its LF as a piece of its own, which matches no prefix.
  EXPECT_EQ(ReadLines(Write(std::string(510, 'y') + "\r\n")),
            (std::vector<std::string>{std::string(510, 'y'), "\n"}));
}

TEST_F(InstallLogTest, TrailingControlBytesAreStrippedButNeverTheFirstByte) {
  const struct {
    const char* bytes;
    const char* line;
  } cases[] = {
      {"File Copy: a.dll  \t\r\n", "File Copy: a.dll"},
      {"File Copy: a.dll\x01\x1f \n", "File Copy: a.dll"},
      {"File Copy: \xE9t\xE9\xA0\r\n", "File Copy: \xE9t\xE9\xA0"},  // bytes of 128 and above stay
      {"File Copy: \r\n", "File Copy:"},
      {" \r\n", " "},
      {"\t \t\n", "\t"},
      {"\r\n", "\r"},  // a line end alone: its first byte stays
      {"ab \t", "ab"},  // no line end at all
  };
  for (const auto& c : cases) {
    LogReader reader(Write(c.bytes).c_str());
    ASSERT_TRUE(reader.Next()) << c.bytes;
    EXPECT_STREQ(reader.Line(), c.line);
    EXPECT_FALSE(reader.Next());
  }
}

TEST_F(InstallLogTest, PrefixMatchesExactlyAtTheStart) {
  const struct {
    const char* line;
    const char* prefix;
    const char* argument;  // null: no match
  } cases[] = {
      {"File Copy: a.dll", "File Copy: ", "a.dll"},
      {"File Copy:  a.dll", "File Copy: ", " a.dll"},  // no further blanks removed
      {"file copy: a.dll", "File Copy: ", nullptr},
      {"  File Copy: a.dll", "File Copy: ", nullptr},
      {"File Copy:a.dll", "File Copy: ", nullptr},
      {"File Copy: ", "File Copy: ", nullptr},  // stripping took the prefix's blank
      {"File Del: old.dll | note", "File Del: ", "old.dll | note"},
      {"Made Dir: C:\\X", "Make Dir: ", nullptr},
      {"Made Dir: C:\\X", "Made Dir: ", "C:\\X"},
      {" ", "File Copy: ", nullptr},
  };
  for (const auto& c : cases) {
    LogReader reader(Write(std::string(c.line) + "\r\n").c_str());
    LogEntry entry;
    ASSERT_TRUE(reader.NextEntry(entry));
    const char* argument = ArgumentFor(entry, c.prefix);
    if (c.argument) {
      ASSERT_NE(argument, nullptr) << c.line;
      EXPECT_STREQ(argument, c.argument);
    } else {
      EXPECT_EQ(argument, nullptr) << c.line << " / " << c.prefix;
    }
  }
}

TEST_F(InstallLogTest, EachKindMatchesOnlyItsOwnPrefix) {
  std::string script;
  for (const char* prefix : kAllPrefixes) script += std::string(prefix) + "arg\r\n";
  LogReader reader(Write(script).c_str());
  for (const char* own : kAllPrefixes) {
    LogEntry entry;
    ASSERT_TRUE(reader.NextEntry(entry));
    for (const char* prefix : kAllPrefixes) {
      const char* argument = ArgumentFor(entry, prefix);
      if (prefix == own) {
        EXPECT_STREQ(argument, "arg");
      } else {
        EXPECT_EQ(argument, nullptr) << reader.Line() << " / " << prefix;
      }
    }
  }
}

TEST_F(InstallLogTest, LineFeedAndCarriageReturnLineFeedReadTheSame) {
  const std::vector<std::string> expected = {"File Copy: a.dll", "Make Dir: sub", "Shell Link: C:\\a.lnk"};
  EXPECT_EQ(ReadLines(Write("File Copy: a.dll\nMake Dir: sub\nShell Link: C:\\a.lnk\n")), expected);
  EXPECT_EQ(ReadLines(Write("File Copy: a.dll\r\nMake Dir: sub\r\nShell Link: C:\\a.lnk\r\n")), expected);
}

// A Ctrl-Z byte is a byte like any other, not the end of the file: the
// entries after it, the installer's own among them, are read.
TEST_F(InstallLogTest, ControlZEndsNothing) {
  EXPECT_EQ(ReadLines(Write("File Copy: a\x1A.dll\r\n\x1A\r\nMade Dir: C:\\G\r\nShell Link: C:\\G\\a.lnk\x1A\r\n")),
            (std::vector<std::string>{"File Copy: a\x1A.dll", "\x1A", "Made Dir: C:\\G", "Shell Link: C:\\G\\a.lnk"}));
}

TEST_F(InstallLogTest, RewindStartsTheNextPassAtTheFirstLine) {
  LogReader reader(Write("Shell Link: C:\\a.lnk\r\nMade Dir: C:\\G\r\n").c_str());
  const std::vector<std::string> first = ReadLines(reader);
  EXPECT_EQ(first.size(), 2u);
  EXPECT_STREQ(reader.Line(), "");  // nothing current after the end
  reader.Rewind();
  EXPECT_EQ(ReadLines(reader), first);
  reader.Rewind();
  ASSERT_TRUE(reader.Next());
  reader.Rewind();  // in the middle of a pass
  EXPECT_EQ(ReadLines(reader), first);
}

TEST_F(InstallLogTest, MissingFileReadsAsEmpty) {
  LogReader reader(folder_.File("missing.log").c_str());
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(reader.Next());
  EXPECT_STREQ(reader.Line(), "");
  reader.Rewind();
  EXPECT_FALSE(reader.Next());
  LogReader none(nullptr);
  EXPECT_FALSE(none.Next());
}

// The installer's own entries after the copied script: one empty entry, then
// "Made Dir: ", written through a text-mode stream (CR LF).
TEST_F(InstallLogTest, AppendedEntriesFollowTheScriptOnALineOfTheirOwn) {
  const struct {
    const char* script;
    std::string log;
  } cases[] = {
      {"File Copy: a.dll\r\n", "File Copy: a.dll\r\n" + WithTextLineEnds("\nMade Dir: C:\\X\n")},
      {"File Copy: a.dll", "File Copy: a.dll" + WithTextLineEnds("\nMade Dir: C:\\X\n")},
  };
  for (const auto& c : cases) {
    const std::string path = Write(c.script);
    ASSERT_TRUE(AppendLogLine(path.c_str(), ""));
    ASSERT_TRUE(AppendLogLine(path.c_str(), "Made Dir: C:\\X"));
    EXPECT_EQ(ReadFileBytes(path), c.log) << c.script;
    const std::vector<std::string> lines = ReadLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Made Dir: C:\\X");
  }
}

TEST_F(InstallLogTest, AppendCreatesTheFileAndKeepsNothingOpen) {
  ASSERT_TRUE(AppendLogLine(path_.c_str(), "Shell Link: C:\\a.lnk"));
  ASSERT_TRUE(AppendLogLine(path_.c_str(), "Shell Link: C:\\b.lnk"));
  EXPECT_EQ(ReadFileBytes(path_), WithTextLineEnds("Shell Link: C:\\a.lnk\nShell Link: C:\\b.lnk\n"));
#ifdef _WIN32
  // An exclusive open succeeds only when no stream is left open.
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
#endif
}

TEST_F(InstallLogTest, AppendIntoAMissingFolderFailsAndCreatesNothing) {
  const std::string missing = folder_.File("missing");
  EXPECT_FALSE(AppendLogLine((missing + kPathSeparator + "OrvUnInst.log").c_str(), "Made Dir: C:\\X"));
  EXPECT_FALSE(PathExists(missing));
  EXPECT_FALSE(AppendLogLine(nullptr, "Made Dir: C:\\X"));
}

}  // namespace
