// The program group of an earlier installation, recovered from the shortcut
// lines of its log.
#pragma once
#include <string>

// Reads "OrvUnInst.log" of the installed folder, or "install.log" when that
// does not open. A "Shell Link: " line counts when its path (compared without
// regard to case) begins with the Programs folder (all users' or the current
// user's) and does not contain the Startup folder; its group is the folder
// of the shortcut relative to the Programs folder. The last such line
// decides; `group` is returned unchanged when no line counts or no log opens.
std::string RecoverProgramGroup(const std::string& installedFolder, bool allUsers, const std::string& group);
