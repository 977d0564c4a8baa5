// Text and path helpers. Texts are ANSI byte strings, possibly of a double-byte
// code page: every walk steps over whole characters, so the trail byte of a
// double-byte character is never taken for a backslash, slash or blank.
#pragma once
#include <cstddef>
#include <string>

enum class TrimEnd { Start = 1, End = 2, Both = 3 };

// Replaces every "/" with "\" in place; returns how many were replaced.
int NormalizeSlashes(std::string& text);

// Removes blanks, tabs, CR, LF and backslashes from the chosen ends, in place.
std::string& TrimSeparators(std::string& text, TrimEnd ends = TrimEnd::Both);

// Removes white space (blank, \t \n \v \f \r) from the chosen ends, in place.
std::string& TrimBlanks(std::string& text, TrimEnd ends = TrimEnd::Both);

// Lower-cases in place by the rules of the current code page.
std::string& ToLower(std::string& text);

// The path as the key of a map or set of paths: lower-cased by the rules of
// the current code page, so that two spellings that differ in letter case
// only (one file to the file system) give one key. Nothing else is made
// alike: "/" and "\", a trailing backslash, a short and a long name give
// different keys.
std::string PathKey(std::string path);

// The text before the last backslash; empty when there is none.
std::string FolderPart(const std::string& path);

// The text after the last backslash; the whole path when there is none.
std::string NamePart(const std::string& path);

// One trailing backslash ignored, the text before the last backslash; empty
// when that backslash is the first character or there is none. Null gives "".
std::string ParentFolder(const char* path);
inline std::string ParentFolder(const std::string& path) { return ParentFolder(path.c_str()); }

// Character-wise searches: the byte offset of the first / last single-byte
// character `ch`, or std::string::npos.
std::size_t FindFirstChar(const std::string& text, char ch);
std::size_t FindLastChar(const std::string& text, char ch);

// The byte offset of the last "\" or "/" character, or std::string::npos. The
// file system takes both as separators, so a pattern's folder part ends there.
std::size_t FindLastSeparator(const std::string& text);

// True when `path` is `folder` or lies below it: compared as path keys,
// "/" taken for "\", trailing separators of the folder ignored.
bool IsWithinFolder(const std::string& path, const std::string& folder);

// True when `text` holds a drive, an ASCII letter and a colon, at offset `at`.
bool HasDriveAt(const std::string& text, std::size_t at = 0);

// True for a full path: a drive, a colon and a backslash ("C:\..."), or a
// network path ("\\server\..."). "C:name" and "\name" depend on the current
// folder of the moment.
bool IsFullPath(const std::string& path);

// Whole-argument comparison of a command-line switch, ignoring ASCII case.
bool SwitchEquals(const std::string& argument, const char* name);
