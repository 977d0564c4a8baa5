// Building and inspecting what an installation leaves behind: real files and
// folders in the test's prefix, real registry keys and values.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Files and folders below `folder`, relative to it and sorted; folders end
// with "\". Empty when the folder does not exist.
std::vector<std::string> TreeOf(const std::string& folder);


// Writes each line followed by CR LF.
bool WriteLog(const std::string& path, const std::vector<std::string>& lines);

bool KeyExists(HKEY root, const std::string& subkey);
void CreateKey(HKEY root, const std::string& subkey);
// A value's text, or "<missing>" when the key or value does not exist.
std::string ValueOf(HKEY root, const std::string& subkey, const char* name);
inline constexpr char kMissing[] = "<missing>";
void SetValue(HKEY root, const std::string& subkey, const char* name, const std::string& text);
// A REG_DWORD value in decimal, or "<missing>" when the key or value does not
// exist or is of another type.
std::string DwordOf(HKEY root, const std::string& subkey, const char* name);
void SetDwordValue(HKEY root, const std::string& subkey, const char* name, DWORD number);
// Deletes a value: what RegDeleteValueA answers, or what opening the key did when it failed.
LONG DeleteValue(HKEY root, const std::string& subkey, const char* name);

// Loads an empty profile hive as HKEY_USERS\`name`, as a logged-on user's
// profile is loaded; the privileges to load hives are enabled first.
bool LoadEmptyProfile(const char* name);
inline constexpr char kOtherUser[] = "S-1-5-21-0-0-0-1001";

// A Shell Folders value of `root` (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or a
// profile key).
std::string ShellFolder(HKEY root, const char* name);

// An installation as the installer leaves it: the installed folder with the
// files and sub-folders its script names, the uninstall log (script, empty
// line, "Made Dir: " of the group, a "Shell Link: " line per shortcut), the
// shortcuts in the current user's programs, desktop and startup folders, the
// registry values of the installation, the current user's settings, the
// document type and two claimed image types.
struct Installation {
  std::string folder;  // ends with a backslash
  std::string group;   // the program-group folder
  std::vector<std::string> shortcuts;

  // Builds it in `parent`\Orvelle 6, with the group `groupName` (which may
  // hold several levels) under the current user's programs folder.
  static Installation Make(const std::string& parent, const std::string& groupName);

  // Every file, folder, key and value of it is gone, and the image types are
  // given back; with `leftInFolder`, the installed folder stays holding just
  // that (as TreeOf gives it). Reports through gtest expectations.
  void ExpectGone(const std::vector<std::string>& leftInFolder = {}) const;
};
