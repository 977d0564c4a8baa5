#include "support/installed_state.h"

#include <algorithm>

#include "common/names.h"
#include "common/registry.h"
#include "gtest/gtest.h"
#include "support/test_folders.h"

namespace {

void CollectTree(const std::string& folder, const std::string& relative, std::vector<std::string>* tree) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      tree->push_back(relative + name + "\\");
      CollectTree(folder + "\\" + name, relative + name + "\\", tree);
    } else {
      tree->push_back(relative + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// The script of the test package: every file kind, a renaming pair, a remark,
// sub-folders with their files, and a comment line.
const std::vector<std::string> kScript = {
    "; Orvelle 6 package",
    "File Copy: OrvPix6.exe",
    "File Copy: OrvPix6Man.chm",
    "File Copy: readme.txt | shown after setup",
    "File Copy x64: OrvShell64.dll",
    "File Copy ind: msvcr71.dll",
    "File Copy: viewer.cfg > settings.cfg",
    "File Overwrite: OrvPix6.ini",
    "File Del: oldfilter.dll",
    "Make Dir: plugins",
    "File Copy: plugins\\*.flt",
    "Make Dir: samples",
    "File Copy: samples\\*.*",
};
const char* const kInstalledFiles[] = {
    "OrvPix6.exe", "OrvPix6Man.chm",    "readme.txt",        "OrvShell64.dll", "msvcr71.dll",    "settings.cfg",
    "OrvPix6.ini", "plugins\\jpeg.flt", "plugins\\tiff.flt", "samples\\a.jpg", "samples\\b.png",
};

constexpr char kUserSettingsKey[] = "SOFTWARE\\Tamberlin\\Orvelle 6\\Settings\\Window";
constexpr char kDocumentCommandKey[] = "OV6.Document\\shell\\open\\command";

std::string ExtensionKey(const char* extension) { return std::string(names::kFileExtsKey) + "\\" + extension; }

}  // namespace

std::vector<std::string> TreeOf(const std::string& folder) {
  std::vector<std::string> tree;
  CollectTree(folder, "", &tree);
  std::sort(tree.begin(), tree.end());
  return tree;
}

bool WriteLog(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return WriteFileBytes(path, bytes);
}

bool KeyExists(HKEY root, const std::string& subkey) {
  RegKey key;
  return key.Open(root, subkey.c_str(), KEY_READ);
}

void CreateKey(HKEY root, const std::string& subkey) {
  RegKey key;
  EXPECT_TRUE(key.Create(root, subkey.c_str())) << subkey;
}

std::string ValueOf(HKEY root, const std::string& subkey, const char* name) {
  RegKey key;
  if (!key.Open(root, subkey.c_str(), KEY_READ)) return kMissing;
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  if (RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return kMissing;
  return data;
}

std::string DwordOf(HKEY root, const std::string& subkey, const char* name) {
  RegKey key;
  if (!key.Open(root, subkey.c_str(), KEY_READ)) return kMissing;
  DWORD type = 0, number = 0, size = sizeof number;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof number)
    return kMissing;
  return std::to_string(number);
}

void SetValue(HKEY root, const std::string& subkey, const char* name, const std::string& text) {
  EXPECT_TRUE(WriteRegistryString(root, subkey.c_str(), name, text)) << subkey << " " << (name ? name : "");
}

void SetDwordValue(HKEY root, const std::string& subkey, const char* name, DWORD number) {
  EXPECT_TRUE(WriteRegistryDword(root, subkey.c_str(), name, number)) << subkey << " " << (name ? name : "");
}

LONG DeleteValue(HKEY root, const std::string& subkey, const char* name) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(root, subkey.c_str(), 0, KEY_SET_VALUE, &key);
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteValueA(key, name);
  RegCloseKey(key);
  return status;
}

bool LoadEmptyProfile(const char* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  for (const char* privilege : {SE_RESTORE_NAME, SE_BACKUP_NAME}) {
    TOKEN_PRIVILEGES enable{};
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, privilege, &enable.Privileges[0].Luid))
      AdjustTokenPrivileges(token, FALSE, &enable, 0, nullptr, nullptr);
  }
  CloseHandle(token);

  // The hive is saved from an empty key, which is then deleted again.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string hive = std::string(temp) + name + ".hive";
  constexpr char kEmptyKey[] = "Software\\OrvEmptyHive";
  RegKey empty;
  if (!empty.Create(HKEY_CURRENT_USER, kEmptyKey)) return false;
  DeleteFileA(hive.c_str());
  const bool saved = RegSaveKeyA(empty.get(), hive.c_str(), nullptr) == ERROR_SUCCESS;
  empty.Close();
  RegDeleteKeyA(HKEY_CURRENT_USER, kEmptyKey);
  return saved && RegLoadKeyA(HKEY_USERS, name, hive.c_str()) == ERROR_SUCCESS;
}

std::string ShellFolder(HKEY root, const char* name) { return ReadRegistryString(root, names::kShellFoldersKey, name); }

Installation Installation::Make(const std::string& parent, const std::string& groupName) {
  Installation made;
  made.folder = parent + "\\" + names::kProductName + "\\";
  MakeFolders(made.folder + "plugins");
  MakeFolders(made.folder + "samples");
  for (const char* file : kInstalledFiles) EXPECT_TRUE(WriteFileBytes(made.folder + file, file)) << file;

  made.group = ShellFolder(HKEY_CURRENT_USER, names::kProgramsValue) + "\\" + groupName;
  MakeFolders(made.group);
  made.shortcuts = {made.group + "\\Orvelle 6.lnk", made.group + "\\Lisez-moi.lnk",
                    ShellFolder(HKEY_CURRENT_USER, names::kDesktopValue) + "\\Orvelle 6.lnk",
                    ShellFolder(HKEY_CURRENT_USER, names::kStartupValue) + "\\Orvelle 6.lnk"};
  std::vector<std::string> log = kScript;
  log.push_back("");
  log.push_back("Made Dir: " + made.group);
  for (const std::string& link : made.shortcuts) {
    MakeFolders(link.substr(0, link.rfind('\\')));
    EXPECT_TRUE(WriteFileBytes(link, "shortcut")) << link;
    log.push_back("Shell Link: " + link);
  }
  EXPECT_TRUE(WriteLog(made.folder + names::kUninstallLog, log));

  const std::string folder = made.folder.substr(0, made.folder.size() - 1);
  SetValue(HKEY_LOCAL_MACHINE, names::kProductKey, names::kAllUsersValue, names::kAllUsersNo);
  SetValue(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue, folder);
  SetValue(HKEY_LOCAL_MACHINE, names::kAppPathKey, nullptr, folder + "\\OrvPix6.exe");
  SetValue(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "DisplayName", names::kProductName);
  SetValue(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "UninstallString", folder + "\\OrvUnInst.exe");
  SetValue(HKEY_CURRENT_USER, kUserSettingsKey, "Left", "10");
  SetValue(HKEY_CLASSES_ROOT, kDocumentCommandKey, nullptr, "OrvPix6.exe \"%1\"");
  SetValue(HKEY_CURRENT_USER, ExtensionKey(".bmp"), names::kFileExtsTypeValue, "OrvPix6.exe");
  SetValue(HKEY_CURRENT_USER, ExtensionKey(".bmp"), names::kSavedHandlerValue, "mspaint.exe");
  SetValue(HKEY_CURRENT_USER, ExtensionKey(".jpg"), names::kFileExtsTypeValue, "OrvPix6.exe");
  return made;
}

void Installation::ExpectGone(const std::vector<std::string>& leftInFolder) const {
  if (leftInFolder.empty())
    EXPECT_FALSE(PathExists(folder)) << "left in it: " << testing::PrintToString(TreeOf(folder));
  else
    EXPECT_EQ(TreeOf(folder), leftInFolder);
  EXPECT_FALSE(PathExists(group));
  for (const std::string& link : shortcuts) EXPECT_FALSE(PathExists(link)) << link;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kMakerKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kAppPathKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallListKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, names::kMakerKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, names::kDocumentTypeKey));
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, ExtensionKey(".bmp"), names::kFileExtsTypeValue), "mspaint.exe");
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, ExtensionKey(".bmp"), names::kSavedHandlerValue), kMissing);
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, ExtensionKey(".jpg"), names::kFileExtsTypeValue), kMissing);
}
