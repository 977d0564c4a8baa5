// The values an installation leaves in the registry, read back as the system
// and later setups read them.
#include <windows.h>

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

  // Text values, and nothing for the current user.
  RegKey key;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ));
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 6u);
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExA(key.get(), "DisplayVersion", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
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
  WriteRegistryEntries();
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "Path"), InstallOptions.destinationFolder);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), "A");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "6.01.02");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), "C:\\Old\\Orvelle 6\\OrvPix6.exe");
}

}  // namespace
