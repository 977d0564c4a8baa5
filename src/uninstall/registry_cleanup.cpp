#include "uninstall/registry_cleanup.h"

#include <shlobj.h>

#include <string>

#include "common/names.h"
#include "common/registry.h"
#include "common/run_log.h"

namespace {

// Enumerated key names and read values: 511 characters and the terminator.
constexpr DWORD kTextBuffer = 512;

// The image file types the application may claim, in the order processed.
const char* const kImageExtensions[] = {".bmp",  ".dib", ".gif", ".jpg", ".jpeg", ".tif",
                                        ".tiff", ".png", ".cmp", ".tga", ".wpg"};
constexpr std::size_t kImageExtensionCount = sizeof kImageExtensions / sizeof kImageExtensions[0];

// Reads a value as text. False when it is missing, cannot be read or is longer
// than 511 characters.
bool ReadValueText(HKEY key, const char* name, std::string* text) {
  return ReadRegistryText(key, name, kTextBuffer, text);
}

// True when the handler text names the application (case-sensitive, as the
// application writes its own name).
bool NamesApplication(const std::string& handler) { return handler.find(names::kApplicationExe) != std::string::npos; }

// A key removal in the run's log; a key that was not there is no failure.
void LogKeyRemoval(const std::string& key, LONG result) {
  if (result == ERROR_SUCCESS)
    RunLogEvent("removed registry key", key);
  else if (result != ERROR_FILE_NOT_FOUND)
    RunLogFailure("remove registry key", key, static_cast<unsigned long>(result));
}

void RemoveKeyTree(HKEY root, const std::string& rootName, const char* subkey) {
  const bool deleted = DeleteKeyTree(root, subkey);
  LogKeyRemoval(rootName + "\\" + subkey, deleted ? ERROR_SUCCESS : static_cast<LONG>(GetLastError()));
}

void RemoveProductFromProfile(HKEY profile, const std::string& profileName) {
  RemoveKeyTree(profile, profileName, names::kProductKey);
  DeleteKeyIfNoSubkeys(profile, profileName, names::kMakerKey);
}

// Deletes one child of a list key with a single deletion: the entry holds
// values only.
void DeleteListEntry(const char* listKey, const char* entry) {
  RegKey list;
  if (!list.Open(HKEY_LOCAL_MACHINE, listKey, KEY_ALL_ACCESS)) return;
  const LONG result = RegistryCleanupPlatform().deleteKey(list.get(), entry);
  LogKeyRemoval(std::string(names::kMachineRootName) + "\\" + listKey + "\\" + entry, result);
}

// A changed file type in the run's log.
void LogTypeChange(const char* what, const std::string& type, LONG result) {
  if (result == ERROR_SUCCESS)
    RunLogEvent(what, type);
  else
    RunLogFailure(what, type, static_cast<unsigned long>(result));
}

}  // namespace

RegistryCleanupCalls& RegistryCleanupPlatform() {
  static RegistryCleanupCalls calls = {&RegDeleteKeyA, &SHChangeNotify};
  return calls;
}

bool DeleteKeyTree(HKEY root, const char* subkey) {
  // An empty name opens the root itself: its children are not ours.
  if (!subkey || !*subkey) return false;
  RegKey key;
  if (key.Open(root, subkey, KEY_ALL_ACCESS)) {
    char child[kTextBuffer];
    for (DWORD index = 0; RegEnumKeyA(key.get(), index, child, sizeof child) == ERROR_SUCCESS;) {
      ++index;
      // A deleted child frees its place: the same index names the next one.
      if (DeleteKeyTree(key.get(), child)) --index;
    }
    key.Close();
  }
  const LONG result = RegistryCleanupPlatform().deleteKey(root, subkey);
  // The registry calls return their error rather than set it.
  if (result != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(result));
  return result == ERROR_SUCCESS;
}

void DeleteKeyIfNoSubkeys(HKEY root, const std::string& rootName, const char* subkey) {
  RegKey key;
  if (!key.Open(root, subkey, KEY_ALL_ACCESS)) return;
  char child[kTextBuffer];
  const bool hasChild = RegEnumKeyA(key.get(), 0, child, sizeof child) == ERROR_SUCCESS;
  key.Close();
  if (!hasChild) LogKeyRemoval(rootName + "\\" + subkey, RegistryCleanupPlatform().deleteKey(root, subkey));
}

void ForEachLoadedProfile(void (*visit)(HKEY profile, const std::string& profileName)) {
  char name[kTextBuffer];
  for (DWORD index = 0; RegEnumKeyA(HKEY_USERS, index, name, sizeof name) == ERROR_SUCCESS; ++index) {
    RegKey profile;
    if (profile.Open(HKEY_USERS, name, KEY_ALL_ACCESS))
      visit(profile.get(), std::string(names::kUsersRootName) + "\\" + name);
  }
}

void RemoveProductRegistry() {
  RemoveKeyTree(HKEY_LOCAL_MACHINE, names::kMachineRootName, names::kProductKey);
  RemoveKeyTree(HKEY_CURRENT_USER, names::kUserRootName, names::kProductKey);
  DeleteKeyIfNoSubkeys(HKEY_LOCAL_MACHINE, names::kMachineRootName, names::kMakerKey);
  DeleteKeyIfNoSubkeys(HKEY_CURRENT_USER, names::kUserRootName, names::kMakerKey);
  ForEachLoadedProfile(&RemoveProductFromProfile);
  RemoveKeyTree(HKEY_CLASSES_ROOT, names::kClassesRootName, names::kDocumentTypeKey);
  DeleteListEntry(names::kUninstallListKey, names::kProductName);
  DeleteListEntry(names::kAppPathsKey, names::kApplicationExe);
}

void RestoreImageAssociations() {
  // The per-user type choices when they exist, else the classes' defaults.
  RegKey base;
  const char* typeValue = names::kFileExtsTypeValue;
  std::string baseName = std::string(names::kUserRootName) + "\\" + names::kFileExtsKey;
  if (!base.Open(HKEY_CURRENT_USER, names::kFileExtsKey, KEY_ALL_ACCESS)) {
    if (!base.Open(HKEY_CLASSES_ROOT, nullptr, KEY_ALL_ACCESS)) return;
    typeValue = nullptr;  // the unnamed default value
    baseName = names::kClassesRootName;
  }

  // Every saved handler is read before any type is changed.
  std::string saved[kImageExtensionCount];
  for (std::size_t row = 0; row < kImageExtensionCount; ++row) {
    RegKey type;
    if (!type.Open(base.get(), kImageExtensions[row], KEY_ALL_ACCESS)) continue;
    std::string handler;
    // A saved handler that cannot be read stays empty: it counts as absent.
    if (ReadValueText(type.get(), typeValue, &handler) && NamesApplication(handler))
      ReadValueText(type.get(), names::kSavedHandlerValue, &saved[row]);
  }

  bool changed = false;
  for (std::size_t row = 0; row < kImageExtensionCount; ++row) {
    RegKey type;
    if (!type.Open(base.get(), kImageExtensions[row], KEY_ALL_ACCESS)) continue;
    std::string handler;
    if (!ReadValueText(type.get(), typeValue, &handler) || !NamesApplication(handler)) continue;
    changed = true;
    const std::string typeName = baseName + "\\" + kImageExtensions[row];
    if (!saved[row].empty()) {
      LogTypeChange("restore file type", typeName + " = " + saved[row],
                    RegSetValueExA(type.get(), typeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved[row].c_str()),
                                   static_cast<DWORD>(saved[row].size() + 1)));
    } else {
      LogTypeChange("remove file type handler", typeName, RegDeleteValueA(type.get(), typeValue));
    }
    if (RegDeleteValueA(type.get(), names::kSavedHandlerValue) == ERROR_SUCCESS)
      RunLogEvent("removed registry value", typeName + "\\" + names::kSavedHandlerValue);
  }

  if (changed) RegistryCleanupPlatform().changeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
