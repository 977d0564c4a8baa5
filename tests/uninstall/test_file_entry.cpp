// What the removal passes take from a log line: file specs, the guard that
// keeps names inside the installed folder, shortcut names. Portable: also
// built natively with the sanitizers.
#include <cstring>
#include <string>

#include "gtest/gtest.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"

namespace {

std::string SpecOf(const char* prefix, const std::string& argument) {
  return FileSpecOf(prefix + argument, std::strlen(prefix));
}

TEST(FileSpecTest, RemarkCutPairTargetAndPatterns) {
  const struct {
    const char* argument;
    const char* spec;
  } cases[] = {
      {"a.dll", "a.dll"},
      {"Filters\\*.flt", "Filters\\*.flt"},
      {"old.dll | kept from 5.0", "old.dll"},
      {"old.dll |no blank after the bar", "old.dll |no blank after the bar"},
      {"viewer.cfg > settings.cfg", "settings.cfg"},
      {"viewer.cfg>\t settings.cfg", "settings.cfg"},       // white space after ">" goes
      {"a > b > c", "b > c"},                                // split at the first ">"
      {"a > b | remark > c", "b"},                           // the remark is cut first
      {"a > b  | two blanks", "b "},                         // the cut takes one blank only
      {"a >", ""},
      {" | remark", ""},                                     // nothing before the remark
      {"  a.dll", "  a.dll"},                                // leading blanks of a pattern stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    for (const char* prefix : {"File Copy: ", "File Del: ", "File Overwrite: "}) {
      EXPECT_EQ(SpecOf(prefix, c.argument), c.spec) << prefix;
    }
  }
}

TEST(FileSpecTest, RemarkStartingInsideThePrefixLeavesNothing) {
  // The prefix's own trailing blank begins " | ".
  EXPECT_EQ(SpecOf("File Copy: ", "| remark"), "");
  EXPECT_EQ(FileSpecOf("File Copy: | a | b", std::strlen("File Copy: ")), "");
  // A line shorter than the prefix is no entry of that kind.
  EXPECT_EQ(FileSpecOf("File", std::strlen("File Copy: ")), "");
  EXPECT_EQ(FileSpecOf("", 0), "");
}

TEST(FileSpecTest, NamesStayInsideTheFolder) {
  const struct {
    const char* name;
    bool inside;
  } cases[] = {
      {"a.dll", true},
      {"Filters\\*.flt", true},
      {"sub/x.txt", true},
      {".hidden", true},
      {"a..b", true},
      {"a\\.\\b", true},             // "." stays where it is
      {"ab:stream", true},            // no drive: the colon is not second
      {"", false},
      {"\\Windows\\x.dll", false},
      {"/Windows/x.dll", false},
      {"C:\\Windows\\x.dll", false},
      {"C:x.dll", false},            // relative to the drive's current folder
      {"..", false},
      {"..\\victim.txt", false},
      {"../victim.txt", false},
      {"sub\\..\\victim.txt", false},
      {"sub\\..\\sub\\inner.txt", false},  // climbs, even if back inside
      {"sub/..", false},
      {"...\\x", false},
      {". .\\x", false},
      {".. \\x", false},
      {" ..\\x", false},
      {"sub\\..", false},
  };
  for (const auto& c : cases) EXPECT_EQ(StaysInsideFolder(c.name), c.inside) << c.name;
}

TEST(FileSpecTest, ShortcutNamesEndInLnkInAnyCase) {
  const struct {
    const char* path;
    bool shortcut;
  } cases[] = {
      {"C:\\Programs\\Orvelle 6\\Orvelle 6.lnk", true},
      {"C:\\Desktop\\ORVELLE 6.LNK", true},
      {".lnk", true},
      {"C:\\Programs\\a.lnk.exe", false},
      {"C:\\Windows\\system32\\kernel32.dll", false},
      {"lnk", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsShortcutName(c.path), c.shortcut) << c.path;
  EXPECT_FALSE(IsShortcutName(nullptr));
}

}  // namespace
