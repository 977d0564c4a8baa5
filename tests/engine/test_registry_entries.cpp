// The values an installation leaves in the registry, read back as the system
// and later setups read them.
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/registry.h"
#include "engine/registry_entries.h"
#include "engine_fixture.h"

namespace {

using RegistryEntries = EngineTest;

TEST_F(RegistryEntries, NineValuesUnderTheMachineKey) {
  InstallOptions.destinationFolder = "C:\\Program Files\\Orvelle 6";
  InstallOptions.newVersion = {6, 3, 1, 7};
  WriteRegistryEntries();
  ExpectRegistryEntries("C:\\Program Files\\Orvelle 6", "A", "6.03.01");

  // Texts but for the two flags, nothing else in the entry, and nothing for
  // the current user.
  RegKey key;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ));
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 12u);
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExA(key.get(), "DisplayVersion", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));

  // A drive root keeps its one backslash in every path of the entry.
  InstallOptions.destinationFolder = "D:\\";
  WriteRegistryEntries();
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), "D:\\");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), "D:\\OrvPix6.exe,0");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"), "\"D:\\OrvUnInst.exe\" -s -wait");
}

TEST(DisplayVersion, ShowsThreeNumbers) {
  struct Case { FileVersion version; const char* text; };
  const Case cases[] = {
      {{6, 3, 1, 9}, "6.03.01"},   {{6, 30, 12, 0}, "6.30.12"}, {{6, 0, 5, 0}, "6.00.05"},
      {{6, 100, 0, 0}, "6.100.00"}, {{12, 1, 123, 4}, "12.01.123"}, {{0, 0, 0, 0}, "0.00.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayVersionText(c.version), c.text);
}

TEST_F(RegistryEntries, ReinstallationOverwritesOnlyItsOwnValues) {
  SetValue(HKEY_LOCAL_MACHINE, kProductKey, "Path", "C:\\Old\\Orvelle 6");
  SetValue(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers", "B");
  SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", "6.00.01");
  SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", "C:\\Old\\Orvelle 6\\OrvPix6.exe");
  SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallDate", "20200101");
  SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "Comments", "an earlier version's");
  WriteRegistryEntries();
  const std::string& folder = InstallOptions.destinationFolder;
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "Path"), folder);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), "A");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "6.01.02");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), folder + "\\OrvPix6.exe,0");
  const std::string date = ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallDate");
  EXPECT_TRUE(date == LocalDate(0) || date == LocalDate(10)) << "the day of this run, not " << date;
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "Comments"), "an earlier version's");
}

TEST(EstimatedSize, KilobytesRoundedUp) {
  struct Case { std::uint64_t bytes; DWORD kilobytes; };
  const Case cases[] = {
      {0, 0}, {1, 1}, {1023, 1}, {1024, 1}, {1025, 2}, {10 * 1024 * 1024, 10240},
      {0xFFFFFFFFull * 1024, 0xFFFFFFFFu}, {0xFFFFFFFFull * 1024 + 1, 0xFFFFFFFFu},  // a DWORD holds no more
  };
  for (const Case& c : cases) EXPECT_EQ(EstimatedSizeOfBytes(c.bytes), c.kilobytes) << c.bytes;
}

TEST_F(RegistryEntries, EstimatedSizeCountsEveryFileBelowTheFolder) {
  const std::string& folder = InstallOptions.destinationFolder;
  ASSERT_TRUE(MakeFolders(folder + "\\Plugins\\Inner"));
  ASSERT_TRUE(WriteFileBytes(folder + "\\OrvPix6.exe", std::string(1000, 'a')));
  ASSERT_TRUE(WriteFileBytes(folder + "\\Plugins\\Inner\\filter.dll", std::string(1100, 'b')));
  WriteEstimatedSize();
  EXPECT_EQ(DwordOf(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), "3");  // 2100 bytes
  ASSERT_TRUE(WriteFileBytes(folder + "\\Plugins\\more.dat", std::string(1996, 'c')));
  WriteEstimatedSize();
  EXPECT_EQ(DwordOf(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), "4");  // exactly 4096: not rounded
}

}  // namespace
