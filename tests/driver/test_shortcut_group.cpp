// The program group a logged shortcut stands for. Portable: also built
// natively with the sanitizers.
#include <string>

#include "driver/shortcut_group.h"
#include "gtest/gtest.h"

namespace {

constexpr char kPrograms[] = "C:\\Profile\\Start Menu\\Programs";
constexpr char kStartup[] = "C:\\Profile\\Start Menu\\Programs\\StartUp";

TEST(ShortcutGroupTest, FoldersPreparedForTheComparison) {
  const ShortcutFolders folders = PrepareShortcutFolders(kPrograms, kStartup);
  EXPECT_EQ(folders.programs, "c:\\profile\\start menu\\programs\\");
  EXPECT_EQ(folders.startup, "c:\\profile\\start menu\\programs\\startup");
  EXPECT_EQ(PrepareShortcutFolders(std::string(kPrograms) + "\\", "").programs,
            "c:\\profile\\start menu\\programs\\");
  EXPECT_EQ(PrepareShortcutFolders("", "").programs, "\\");
}

TEST(ShortcutGroupTest, GroupOfALink) {
  const ShortcutFolders folders = PrepareShortcutFolders(kPrograms, kStartup);
  const std::string programs = kPrograms;
  const struct {
    std::string link;
    bool counts;
    const char* group;
  } cases[] = {
      {programs + "\\Tools\\Orvelle 6\\Orvelle 6.lnk", true, "Tools\\Orvelle 6"},
      {programs + "\\Orvelle 6.lnk", true, ""},  // directly in Programs
      {"c:\\PROFILE\\start menu\\PROGRAMS\\Outils\\x.lnk", true, "Outils"},  // as written
      {std::string(kStartup) + "\\Orvelle 6.lnk", false, ""},
      {programs + "Old\\Tools\\x.lnk", false, ""},  // only begins like the folder
      {"C:\\Profile\\Desktop\\Orvelle 6.lnk", false, ""},
      {programs, false, ""},                         // shorter than the folder with its backslash
      {"", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    std::string group = "unchanged";
    EXPECT_EQ(ShortcutGroupOf(c.link, folders, &group), c.counts);
    EXPECT_EQ(group, c.counts ? c.group : "unchanged");
  }
}

TEST(ShortcutGroupTest, AnUnreadableStartupFolderIsInEveryLink) {
  const ShortcutFolders folders = PrepareShortcutFolders(kPrograms, "");
  std::string group;
  EXPECT_FALSE(ShortcutGroupOf(std::string(kPrograms) + "\\Tools\\x.lnk", folders, &group));
}

}  // namespace
