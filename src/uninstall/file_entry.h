// What the removal passes take from a log line: the file spec of a file-kind
// entry, whether a name stays inside the folder it is applied to, and whether
// a logged link is a shortcut. Portable: pure functions over texts.
#pragma once
#include <cstddef>
#include <string>

// The file spec of a file-kind line whose prefix is `prefixLength` bytes
// long: the line cut at the first " | ", the text after the prefix, and for
// a renaming pair the target after the first ">" with its leading blanks
// removed. Empty when nothing is left (also when the remark starts inside
// the prefix, or the line is shorter than the prefix).
std::string FileSpecOf(const std::string& line, std::size_t prefixLength);

// True when a name from a log stays inside the folder it is applied to: not
// empty, not absolute (a leading "\" or "/", a drive) and no component that
// climbs out (two dots or more with blanks only, as the file system reads
// ".." and ". ."). A package never needs either: it names files relative to
// its own folder.
bool StaysInsideFolder(std::string name);

// True when the path ends in ".lnk" in any case: the installer logs only
// shortcuts as links, any other file named there is not one of its own.
bool IsShortcutName(const char* path);
