// Removal of the product's registry keys and the give-back of the image file
// types the application claimed. Nothing is reported to the user: keys and
// values that are missing or cannot be changed are passed over (and named in
// the run's log).
#pragma once
#include <windows.h>

#include <string>

// Deletes `subkey` of `root` with everything below it. A child that cannot be
// deleted is stepped over, so the walk always ends; it then keeps its parent
// and every ancestor up to `subkey`, while its siblings still go. True when
// `subkey` itself was deleted; false with the system's error number as the
// thread's last error. A null or empty subkey deletes nothing.
bool DeleteKeyTree(HKEY root, const char* subkey);

// Deletes `subkey` of `root` when it has no child keys; values do not keep it.
// `rootName` names `root` in the run's log (HKLM, HKU\S-1-5-...).
void DeleteKeyIfNoSubkeys(HKEY root, const std::string& rootName, const char* subkey);

// Removes the product key from HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and every
// loaded profile, the maker key where it is left without products, the
// document type and the uninstall and application path entries.
void RemoveProductRegistry();

// Gives back every image file type whose handler names the application: the
// saved earlier handler is restored, or the handler value deleted when none
// was saved. Works on the per-user type choices, or on HKEY_CLASSES_ROOT when
// those do not exist. The shell is told once, and only when a type changed.
void RestoreImageAssociations();

// Calls `visit` with each subkey of HKEY_USERS (every loaded profile) opened
// with full access, and its name for the log ("HKU\" and the subkey), by
// index until the enumeration ends. Profiles that do not open are skipped.
void ForEachLoadedProfile(void (*visit)(HKEY profile, const std::string& profileName));

// The platform calls of the cleanup that a test must be able to make fail or
// watch. The table starts with the system's own functions.
struct RegistryCleanupCalls {
  LONG(WINAPI* deleteKey)(HKEY root, LPCSTR subkey);
  void(WINAPI* changeNotify)(LONG event, UINT flags, LPCVOID item1, LPCVOID item2);
};
RegistryCleanupCalls& RegistryCleanupPlatform();
