// Removal of what an installation log records: shortcuts and program-group
// folders, installed files and sub-folders. Nothing is reported: whatever
// cannot be deleted or removed stays, and the next entry is processed.
#pragma once
#include <string>
#include <vector>

#include "uninstall/install_log.h"

// The paths of files a removal found but could not delete (held, protected):
// what it leaves of what the logs name. Given, the operations below add to it.
using Leftovers = std::vector<std::string>;

// Deletes the shortcut file of every "Shell Link: " entry (only names ending
// in ".lnk"; attributes untouched, so a read-only shortcut stays), then for
// every "Made Dir: " entry removes the folder and its parents, one after the
// other, for as long as removal succeeds. A missing log does nothing.
void RemoveLoggedLinks(const char* logPath, Leftovers* leftovers = nullptr);

// Deletes in `folder` the files named by the file entries ("File Copy: ",
// "File Copy x64: ", "File Copy ind: ", "File Overwrite: ", "File Del: "), or
// by the entries of kind `only` alone when one is given, then removes every "Make Dir: "
// sub-folder of `folder` that is empty when its line is reached, once the
// staging folder an interrupted installation left in it is gone (see
// stale_staging.h). A remark after
// " | " is ignored and a renaming pair stands for its target. Specs that are
// absolute or climb out with ".." are skipped: they would reach outside
// `folder`. A missing log does nothing.
void RemoveLoggedFiles(const char* logPath, const char* folder, LogKind only = LogKind::None,
                       Leftovers* leftovers = nullptr);

// Deletes the files in `folder` that match `pattern` (which may begin with a
// sub-folder part), read-only and hidden ones included; sub-folders are
// neither deleted, changed nor searched. Returns how many files were deleted.
int DeleteFilesByPattern(const std::string& pattern, const std::string& folder, Leftovers* leftovers = nullptr);
