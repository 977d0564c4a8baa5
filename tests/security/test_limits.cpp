// Paths, registry texts and names at 258 to 261 characters: what fits the
// system's 259 characters and terminator is taken whole; what does not is
// refused whole, never cut into a shorter path that may name something else.
#include <windows.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "driver/install_driver.h"
#include "driver/install_options.h"
#include "engine/install.h"
#include "engine/shortcuts.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "support/test_folders.h"

namespace {

constexpr std::size_t kLengths[] = {258, 259, 260, 261};
constexpr std::size_t kLongestPath = 259;

// `base` + "\" + padding: a path of exactly `length` characters.
std::string PathOfLength(const std::string& base, std::size_t length, char fill) {
  return base + "\\" + std::string(length - base.size() - 1, fill);
}

// Creates a folder of any length (the wide call and "\\?\" pass the limit).
bool MakeLongFolder(const std::string& path) {
  const std::string full = "\\\\?\\" + path;
  std::wstring wide(full.size() + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  return CreateDirectoryW(wide.c_str(), nullptr) != FALSE;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") found.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

bool Fits(std::size_t length) { return length <= kLongestPath; }

void Ignore() {}
INT_PTR NoWizard() { return IDCANCEL; }
void NoEnd(int) {}

TEST(LimitsTest, InstDirFolderIsTakenWholeOrNotAtAll) {
  TestFolder root;
  TestFolder package("orvpkg");
  ASSERT_TRUE(CopyTree(SamplePackageFolder(), package.Path()));
  const std::string own = package / "setup.exe";
  for (std::size_t length : kLengths) {
    SCOPED_TRACE(length);
    const std::string folder = PathOfLength(root.Path(), length, static_cast<char>('a' + length % 26));
    ASSERT_TRUE(MakeLongFolder(folder));
    InstallOptions = InstallOptionsRecord{};
    InstallOptions.silent = true;
    const unsigned failures = InstallFailureCount();
    // Past the limit the real installation runs: it must refuse the folder.
    RunInstallDriver({own, "-instdir", folder}, own,
                     InstallDriverHandovers{Fits(length) ? &Ignore : &Install, &NoWizard, &NoEnd});
    // Never cut into a shorter path, never replaced by another destination.
    EXPECT_EQ(InstallOptions.destinationFolder, folder);
    if (!Fits(length)) {
      EXPECT_EQ(InstallFailureCount(), failures + 1) << "a folder past the limit was not refused";
      EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue), "");
      EXPECT_EQ(NamesIn(root.Path()).size(), static_cast<std::size_t>(length - 257)) << "made beside it";
    }
  }
}

TEST(LimitsTest, RegistryTextsAreReadWholeOrEmpty) {
  constexpr char kKey[] = "Software\\OrvLimits";
  for (std::size_t length : kLengths) {
    SCOPED_TRACE(length);
    const std::string text(length, 'r');
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kKey, "Text", text.c_str()));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, "Text"), Fits(length) ? text : std::string());
  }
}

TEST(LimitsTest, ShortcutPathsAreSavedWholeOrRefused) {
  TestFolder root;
  InstallOptions.destinationFolder = root.Path();
  const std::string links = root / "links";
  ASSERT_TRUE(MakeFolders(links));
  std::vector<std::string> logged;
  for (std::size_t length : kLengths) {
    SCOPED_TRACE(length);
    const std::string base = PathOfLength(links, length - 4, static_cast<char>('a' + length % 26));
    const std::string link = base + ".lnk";
    ASSERT_EQ(link.size(), length);
    const HRESULT result = CreateShortcut(root / "OrvPix6.exe", link);
    EXPECT_EQ(SUCCEEDED(result), Fits(length));
    if (Fits(length)) logged.push_back("Shell Link: " + link);
  }
  // Only the two that fit, each logged, and nothing under a cut name.
  EXPECT_EQ(NamesIn(links).size(), 2u);
  std::string expected;
  for (const std::string& line : logged) expected += line + "\r\n";
  EXPECT_EQ(ReadFileBytes(root / names::kUninstallLog), expected);
}

// The whole installation of the sample package into a destination, and a
// program group, at the limit: nothing outside them is created under a cut
// name, and nothing is created inside a folder that leaves no room for a name.
class LimitsInstallTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyTree(SamplePackageFolder(), package_.Path()));
    InstallOptions = InstallOptionsRecord{};
    InstallOptions.sourceFolder = package_.Path();
    InstallOptions.isNewInstall = true;
    InstallOptions.silent = true;
    InstallOptions.desktopIcon = false;
    InstallOptions.programGroup = names::kProductName;
    InstallOptions.destinationFolder = root_ / "Orvelle 6";
  }
  TestFolder package_{"orvpkg"};
  TestFolder root_{"orvdst"};
};

TEST_F(LimitsInstallTest, DestinationAtTheLimitGetsNoFileUnderACutName) {
  for (std::size_t length : kLengths) {
    SCOPED_TRACE(length);
    const std::string parent = root_ / std::to_string(length);
    ASSERT_TRUE(MakeFolders(parent));
    InstallOptions.destinationFolder = PathOfLength(parent, length, 'd');
    Install();
    // Every name in the destination would make a path past the limit: a
    // copy, the log or a sub-folder there would have been cut into another.
    const std::vector<std::string> beside = NamesIn(parent);
    EXPECT_LE(beside.size(), 1u) << "something was created beside the destination";
    if (!beside.empty()) {
      EXPECT_EQ(parent + "\\" + beside[0], InstallOptions.destinationFolder);
      EXPECT_TRUE(NamesIn(InstallOptions.destinationFolder).empty());
    }
  }
}

TEST_F(LimitsInstallTest, ProgramGroupAtTheLimitIsMadeWholeOrNotAtAll) {
  const std::string programs = ReadRegistryString(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kProgramsValue);
  ASSERT_FALSE(programs.empty());
  for (std::size_t length : kLengths) {
    SCOPED_TRACE(length);
    const std::string outer = "Limit " + std::to_string(length);
    const std::string group = PathOfLength(programs + "\\" + outer, length, 'g');
    InstallOptions.programGroup = group.substr(programs.size() + 1);
    Install();
    EXPECT_EQ(PathExists(group), Fits(length));
    // Beside the group only the group itself: no folder under a cut name.
    const std::vector<std::string> inOuter = NamesIn(programs + "\\" + outer);
    EXPECT_LE(inOuter.size(), 1u);
    for (const std::string& name : inOuter) EXPECT_EQ(programs + "\\" + outer + "\\" + name, group);
  }
}

}  // namespace
