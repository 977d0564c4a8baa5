// The program group that a logged shortcut stands for, as the install driver
// recovers an earlier installation's group from its "Shell Link: " lines.
// Portable: pure functions over texts.
#pragma once
#include <string>

// The Programs and Startup folders (all users' or the current user's) as the
// test compares them: lower-cased, the Programs folder with a trailing
// backslash (added unless its last character is one).
struct ShortcutFolders {
  std::string programs;
  std::string startup;
};
ShortcutFolders PrepareShortcutFolders(std::string programs, std::string startup);

// True when `link`, compared without regard to case, begins with the Programs
// folder and does not contain the Startup folder (an empty Startup folder is
// in every link: none counts then). `group` is then the link's folder
// relative to the Programs folder, as written in the link.
bool ShortcutGroupOf(const std::string& link, const ShortcutFolders& folders, std::string* group);
