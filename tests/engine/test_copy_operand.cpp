// The operand of an install script's copy line. Portable: also built natively
// with the sanitizers.
#include <string>

#include "engine/copy_operand.h"
#include "gtest/gtest.h"

namespace {

TEST(CopyOperandTest, PatternOrRenamingPair) {
  const struct {
    const char* operand;
    bool renamed;
    const char* name;
    const char* newName;
  } cases[] = {
      {"*.dll", false, "*.dll", ""},
      {" a.dll \t", false, " a.dll \t", ""},  // a pattern is taken verbatim
      {"old.dll | remark", false, "old.dll | remark", ""},  // " | " means nothing here
      {"a.dll > b.dll", true, "a.dll", "b.dll"},
      {"viewer.cfg>settings.cfg", true, "viewer.cfg", "settings.cfg"},
      {" a.dll\t>\t b.dll ", true, " a.dll", "b.dll "},  // the outer blanks stay
      {"Sub\\a.dll > Sub\\b.dll", true, "Sub\\a.dll", "Sub\\b.dll"},
      {"a > b > c", true, "a", "b > c"},
      {">", true, "", ""},
      {"", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operand);
    const CopyOperand split = SplitCopyOperand(c.operand);
    EXPECT_EQ(split.renamed, c.renamed);
    EXPECT_EQ(split.name, c.name);
    EXPECT_EQ(split.newName, c.newName);
  }
}

TEST(CopyOperandTest, ProbedLibraryName) {
  const struct {
    const char* operand;
    const char* library;
  } cases[] = {
      {"msvcr71.dll", "msvcr71.dll"},
      {"msvcr71.dll  \t", "msvcr71.dll"},
      {"msvcr71.dll > msvcr71.dll", "msvcr71.dll"},
      {"a.dll>b.dll", "a.dll"},
      {" a.dll", " a.dll"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProbedLibraryName(c.operand), c.library) << c.operand;
}

}  // namespace
