#include "common/registry.h"

#include <cstring>
#include <vector>

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

bool ReadRegistryText(HKEY key, const char* name, std::size_t limit, std::string* text) {
  // All zeros, so that data shorter than the buffer is always terminated,
  // whatever its type and however it was stored.
  std::vector<char> buffer(limit, '\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
      !std::memchr(buffer.data(), '\0', buffer.size()))
    return false;
  *text = RegistryTextOf(buffer.data(), buffer.size());
  return true;
}

std::string ReadRegistryString(HKEY root, const char* subkey, const char* name) {
  RegKey key;
  std::string text;
  if (!key.Open(root, subkey, KEY_READ) || !ReadRegistryText(key.get(), name, kMaxPath, &text)) return std::string();
  return text;
}

bool ReadRegistryMultiString(HKEY root, const char* subkey, const char* name, std::vector<std::string>* texts) {
  texts->clear();
  RegKey key;
  if (!key.Open(root, subkey, KEY_QUERY_VALUE)) return false;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  std::vector<char> data(size + 1, '\0');  // one zero more: the last text always ends
  if (RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return false;
  for (std::size_t start = 0; start < size;) {
    texts->emplace_back(data.data() + start);
    start += texts->back().size() + 1;
  }
  return true;
}

namespace {
// The registry calls return their error rather than set it.
bool Succeeded(LONG result) {
  if (result != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(result));
  return result == ERROR_SUCCESS;
}

// Opens an existing key to set or delete its values.
LONG OpenToChange(HKEY root, const char* subkey, HKEY* key) {
  *key = nullptr;
  return RegOpenKeyExA(root, subkey, 0, KEY_SET_VALUE, key);
}
}  // namespace

bool WriteRegistryMultiString(HKEY root, const char* subkey, const char* name, const std::vector<std::string>& texts) {
  std::string data;
  for (const std::string& text : texts) data.append(text).push_back('\0');
  HKEY opened = nullptr;
  if (const LONG result = OpenToChange(root, subkey, &opened)) return Succeeded(result);
  const RegKey key(opened);
  return Succeeded(RegSetValueExA(key.get(), name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size())));
}

bool DeleteRegistryValue(HKEY root, const char* subkey, const char* name) {
  HKEY opened = nullptr;
  if (const LONG result = OpenToChange(root, subkey, &opened)) return Succeeded(result);
  const RegKey key(opened);
  const LONG result = RegDeleteValueA(key.get(), name);
  return Succeeded(result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result);
}

namespace {

// Stores `size` bytes of `type` under `name`, creating the key when needed;
// the error number as the thread's last error on failure.
bool WriteRegistryValue(HKEY root, const char* subkey, const char* name, DWORD type, const BYTE* data, DWORD size) {
  HKEY created = nullptr;
  LONG result = RegCreateKeyA(root, subkey, &created);
  if (result == ERROR_SUCCESS) {
    const RegKey key(created);
    result = RegSetValueExA(key.get(), name, 0, type, data, size);
  }
  // The registry calls return their error rather than set it.
  if (result != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(result));
  return result == ERROR_SUCCESS;
}

}  // namespace

bool WriteRegistryString(HKEY root, const char* subkey, const char* name, const std::string& text) {
  const DWORD size = static_cast<DWORD>(text.size() + 1);  // with the terminating zero
  return WriteRegistryValue(root, subkey, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
}

bool WriteRegistryDword(HKEY root, const char* subkey, const char* name, DWORD number) {
  return WriteRegistryValue(root, subkey, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}
