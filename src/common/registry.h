// Registry text values, and the key handle that closes itself.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// An open registry key, closed when the object goes.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  ~RegKey() { Close(); }

  // RegOpenKeyExA with the given access; false when the key does not open.
  bool Open(HKEY root, const char* subkey, REGSAM access);
  // RegCreateKeyA: opens the key, creating it and its missing parents.
  bool Create(HKEY root, const char* subkey);
  void Close();
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// Reads the value `name` of the open `key` as text through a cleared buffer of
// `limit` bytes. False when the value is missing, cannot be read or holds no
// terminator within the limit: a text too long is never cut into a shorter one.
bool ReadRegistryText(HKEY key, const char* name, std::size_t limit, std::string* text);

// Reads a value as text through a 260-byte buffer: the empty text when the key
// or value is missing, access is refused or the data is longer than 259
// characters. The type is not looked at (REG_EXPAND_SZ comes back unexpanded).
// `name` null or "" reads the key's default value.
std::string ReadRegistryString(HKEY root, const char* subkey, const char* name);

// Reads a multi-string value (REG_MULTI_SZ) of the key `subkey` into `texts`:
// its data cut at every zero byte, in order, empty texts kept (a list of
// pairs may hold empty ones, and the list's closing zero gives a last empty
// one); a last text without its zero counts as well. The type is not looked
// at. False, and `texts` empty, when the key or value is missing or cannot be
// read.
bool ReadRegistryMultiString(HKEY root, const char* subkey, const char* name, std::vector<std::string>* texts);

// Stores `texts` as REG_MULTI_SZ, each with its zero byte (an empty text is
// a lone zero), into the existing key `subkey`: the inverse of
// ReadRegistryMultiString, so texts read there come back byte for byte.
// False with the system's error number as the thread's last error.
bool WriteRegistryMultiString(HKEY root, const char* subkey, const char* name, const std::vector<std::string>& texts);

// Deletes the value `name` of the existing key `subkey`; a value that is not
// there counts as deleted. False with the system's error number as the
// thread's last error.
bool DeleteRegistryValue(HKEY root, const char* subkey, const char* name);

// Stores `text` as REG_SZ (terminator included), creating the key when needed.
// True when the value was stored; false with the system's error number as the
// thread's last error.
bool WriteRegistryString(HKEY root, const char* subkey, const char* name, const std::string& text);

// Stores `number` as REG_DWORD, creating the key when needed. True when the
// value was stored; false with the system's error number as the thread's
// last error.
bool WriteRegistryDword(HKEY root, const char* subkey, const char* name, DWORD number);
