// Registry text values. Every test case runs in its own Wine prefix, so the
// keys under HKCU\Software\OrvTest start out missing.
#include <windows.h>

#include <string>

#include "common/registry.h"
#include "gtest/gtest.h"

namespace {

constexpr char kKey[] = "Software\\OrvTest";

// Stores raw data of any type, bypassing the helper under test.
void SetRaw(const char* name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::string Read(const char* name) { return ReadRegistryString(HKEY_CURRENT_USER, kKey, name); }

// Type and size as stored, and the data.
struct Stored { LONG status; DWORD type; std::string data; };

Stored QueryRaw(const char* subkey, const char* name) {
  Stored stored{ERROR_FILE_NOT_FOUND, REG_NONE, {}};
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
  char data[1024];
  DWORD size = sizeof data;
  stored.status = RegQueryValueExA(key, name, nullptr, &stored.type, reinterpret_cast<BYTE*>(data), &size);
  if (stored.status == ERROR_SUCCESS) stored.data.assign(data, size);
  RegCloseKey(key);
  return stored;
}

TEST(ReadRegistryStringTest, LengthLimitIs259Characters) {
  const std::string text259(259, 'p');
  const std::string text260(260, 'p');
  SetRaw("Text259", REG_SZ, text259 + '\0');
  SetRaw("Text260", REG_SZ, text260 + '\0');
  EXPECT_EQ(Read("Text259"), text259);
  EXPECT_EQ(Read("Text260"), "");
}

// 260 bytes without a zero fit the buffer exactly but hold no terminator: the
// value is too long, and is not cut into a shorter path.
TEST(ReadRegistryStringTest, DataFillingTheBufferWithoutTerminatorIsEmpty) {
  const std::string full(260, 'q');
  SetRaw("Binary260", REG_BINARY, full);
  SetRaw("Sz260", REG_SZ, full);
  EXPECT_EQ(Read("Binary260"), "");
  EXPECT_EQ(Read("Sz260"), "");
  // One byte less: the rest of the buffer terminates it.
  SetRaw("Binary259", REG_BINARY, std::string(259, 'q'));
  EXPECT_EQ(Read("Binary259"), std::string(259, 'q'));
}

TEST(ReadRegistryStringTest, TypeIsNotLookedAt) {
  SetRaw("Expand", REG_EXPAND_SZ, std::string("%WINDIR%\\Orvelle") + '\0');
  SetRaw("Binary", REG_BINARY, std::string("ab\0cd", 5));
  SetRaw("Dword", REG_DWORD, std::string("ABC\0", 4));
  EXPECT_EQ(Read("Expand"), "%WINDIR%\\Orvelle");
  EXPECT_EQ(Read("Binary"), "ab");
  EXPECT_EQ(Read("Dword"), "ABC");
}

TEST(ReadRegistryStringTest, MissingKeyOrValueIsEmpty) {
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, "Software\\OrvTest\\Missing", "Value"), "");
  SetRaw("Other", REG_SZ, std::string("x") + '\0');
  EXPECT_EQ(Read("Value"), "");
  EXPECT_EQ(Read(nullptr), "");  // no default value set
  EXPECT_EQ(ReadRegistryString(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), kKey, "Other"), "");
}

TEST(ReadRegistryStringTest, DefaultValueByNullOrEmptyName) {
  SetRaw(nullptr, REG_SZ, std::string("C:\\Orvelle") + '\0');
  EXPECT_EQ(Read(nullptr), "C:\\Orvelle");
  EXPECT_EQ(Read(""), "C:\\Orvelle");
}

TEST(WriteRegistryStringTest, CreatesMissingKeysAndStoresTheTerminator) {
  const char* subkey = "Software\\OrvTest\\Level1\\Level2";
  ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, subkey, "Path", "C:\\Orvelle 6"));
  const Stored stored = QueryRaw(subkey, "Path");
  ASSERT_EQ(stored.status, ERROR_SUCCESS);
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored.data, std::string("C:\\Orvelle 6") + '\0');  // length + 1 bytes
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, subkey, "Path"), "C:\\Orvelle 6");
}

TEST(WriteRegistryStringTest, EmptyTextStoresOneZeroByte) {
  ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kKey, "Empty", ""));
  const Stored stored = QueryRaw(kKey, "Empty");
  ASSERT_EQ(stored.status, ERROR_SUCCESS);
  EXPECT_EQ(stored.data, std::string(1, '\0'));
}

TEST(WriteRegistryStringTest, NullOrEmptyNameWritesTheDefaultValue) {
  ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kKey, nullptr, "first"));
  EXPECT_EQ(QueryRaw(kKey, nullptr).data, std::string("first") + '\0');
  ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kKey, "", "second"));
  EXPECT_EQ(QueryRaw(kKey, nullptr).data, std::string("second") + '\0');
}

TEST(WriteRegistryStringTest, FalseWhenTheKeyDoesNotOpen) {
  EXPECT_FALSE(WriteRegistryString(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), kKey, "V", "x"));
}

TEST(RegKeyTest, OwnsAndClosesItsHandle) {
  RegKey missing;
  EXPECT_FALSE(missing.Open(HKEY_CURRENT_USER, "Software\\OrvTest\\Missing", KEY_READ));
  EXPECT_FALSE(missing);

  RegKey created;
  ASSERT_TRUE(created.Create(HKEY_CURRENT_USER, "Software\\OrvTest\\Owned"));
  const HKEY handle = created.get();
  {
    RegKey moved(std::move(created));
    EXPECT_FALSE(created);
    EXPECT_EQ(moved.get(), handle);
  }
  // Closed exactly once, by the object that held it last.
  EXPECT_NE(RegCloseKey(handle), ERROR_SUCCESS);
}

}  // namespace
