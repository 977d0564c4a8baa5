#include "driver/shortcut_group.h"

#include "common/text.h"

ShortcutFolders PrepareShortcutFolders(std::string programs, std::string startup) {
  if (programs.empty() || FindLastChar(programs, '\\') != programs.size() - 1) programs += '\\';
  ToLower(programs);
  ToLower(startup);
  return ShortcutFolders{programs, startup};
}

bool ShortcutGroupOf(const std::string& link, const ShortcutFolders& folders, std::string* group) {
  std::string lowered = link;
  ToLower(lowered);
  if (lowered.compare(0, folders.programs.size(), folders.programs) != 0) return false;
  if (lowered.find(folders.startup) != std::string::npos) return false;
  // Lower-casing keeps the length: the link holds the whole Programs folder.
  if (group) *group = ParentFolder(link.c_str() + folders.programs.size());
  return true;
}
