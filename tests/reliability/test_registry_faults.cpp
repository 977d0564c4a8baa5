// Registry values the setup reads, stored with the wrong type or too long:
// the product's "Path" and "AllUsers", the App Paths entry, "ProgramFilesDir"
// and the Shell Folders. The real setup.exe installs silently where the
// rules then lead, and the uninstaller removes it without residue.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "driver/existing_install.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "support/installed_state.h"
#include "support/package_run.h"
#include "system_snapshot.h"

namespace {

const std::string kTooLong = "C:\\" + std::string(297, 'L');  // 300 characters

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

struct RegistryCase {
  const char* name;
  const char* key;    // under HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER for the user's Shell Folders
  bool currentUser;
  const char* value;  // null: the key's default value
  DWORD type;
  std::string data;
  bool removedWithProduct;  // the uninstaller deletes the value with the product's keys
  bool withoutCommonPrograms = false;  // the all-users programs folder is not set either
};

const RegistryCase kCases[] = {
    {"PathTooLong", names::kProductKey, false, names::kPathValue, REG_SZ, kTooLong + '\0', true},
    {"PathAsNumberZero", names::kProductKey, false, names::kPathValue, REG_DWORD, Dword(0), true},
    {"PathAsNumberReadingAsARelativeName", names::kProductKey, false, names::kPathValue, REG_DWORD, Dword(0x5858),
     true},
    {"AllUsersAsNumber", names::kProductKey, false, names::kAllUsersValue, REG_DWORD, Dword('B'), true},
    {"AllUsersTooLong", names::kProductKey, false, names::kAllUsersValue, REG_SZ, "B" + kTooLong + '\0', true},
    {"AppPathTooLong", names::kAppPathKey, false, nullptr, REG_SZ, kTooLong + "\\OrvPix6.exe" + '\0', true},
    {"AppPathAsNumber", names::kAppPathKey, false, nullptr, REG_DWORD, Dword(0x5C3A43), true},
    {"ProgramFilesDirTooLong", names::kCurrentVersionKey, false, names::kProgramFilesDirValue, REG_SZ,
     kTooLong + '\0', false},
    {"ProgramFilesDirAsNumberZero", names::kCurrentVersionKey, false, names::kProgramFilesDirValue, REG_DWORD,
     Dword(0), false},
    {"CommonProgramsTooLong", names::kShellFoldersKey, false, names::kCommonProgramsValue, REG_SZ,
     kTooLong + '\0', false},
    {"CommonDesktopAsNumber", names::kShellFoldersKey, false, names::kCommonDesktopValue, REG_DWORD, Dword(0),
     false},
    {"UserProgramsTooLongWithoutCommonPrograms", names::kShellFoldersKey, true, names::kProgramsValue, REG_SZ,
     kTooLong + '\0', false, true},
};

void Store(const RegistryCase& c) {
  RegKey key;
  ASSERT_TRUE(key.Create(c.currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, c.key));
  ASSERT_EQ(RegSetValueExA(key.get(), c.value, 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                           static_cast<DWORD>(c.data.size())),
            ERROR_SUCCESS);
}

// Test names carry the case's name, not its bytes.
void PrintTo(const RegistryCase& c, std::ostream* out) { *out << c.name; }

class RegistryFault : public testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryFault, SetupInstallsAndTheUninstallerLeavesNoResidue) {
  const RegistryCase& c = GetParam();
  const PackageRun run("orvregfault", "package");
  ASSERT_TRUE(run.CopyPackage());
  // A value the uninstaller removes with the product is no part of the state
  // before; a system value is.
  SystemSnapshot before;
  if (c.removedWithProduct) before = TakeSnapshot();
  Store(c);
  if (c.withoutCommonPrograms) {
    ASSERT_EQ(DeleteValue(HKEY_LOCAL_MACHINE, names::kShellFoldersKey, names::kCommonProgramsValue), ERROR_SUCCESS);
  }
  if (!c.removedWithProduct) before = TakeSnapshot();

  // Whatever the value said, no earlier installation is found and the
  // default destination is taken.
  const std::string destination = ProgramFilesFolder() + "\\" + names::kProductName;
  ASSERT_EQ(run.RunSetup("-s"), 0);
  EXPECT_EQ(InstalledFolder(), destination);
  EXPECT_TRUE(PathExists(destination + "\\" + names::kApplicationExe));

  ASSERT_TRUE(UninstallSilently(destination));
  EXPECT_EQ(Residue(before, TakeSnapshot()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryFault, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RegistryCase>& test) { return test.param.name; });

}  // namespace
