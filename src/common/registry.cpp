#include "common/registry.h"

#include "common/names.h"
#include "common/registry_text.h"

bool RegKey::Open(HKEY root, const char* subkey, REGSAM access) {
  Close();
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, access, &key) != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

bool RegKey::Create(HKEY root, const char* subkey) {
  Close();
  HKEY key = nullptr;
  if (RegCreateKeyA(root, subkey, &key) != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

void RegKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

std::string ReadRegistryString(HKEY root, const char* subkey, const char* name) {
  // All zeros, so that data shorter than the buffer is always terminated,
  // whatever its type and however it was stored.
  char buffer[kMaxPath] = {};
  RegKey key;
  if (!key.Open(root, subkey, KEY_READ)) return std::string();
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS) {
    return std::string();
  }
  return RegistryTextOf(buffer, sizeof buffer);
}

bool WriteRegistryString(HKEY root, const char* subkey, const char* name, const std::string& text) {
  RegKey key;
  if (!key.Create(root, subkey)) return false;
  const DWORD size = static_cast<DWORD>(text.size() + 1);  // with the terminating zero
  return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size) ==
         ERROR_SUCCESS;
}
