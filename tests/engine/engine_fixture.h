// Tests of the installation engine work on real folders, files, shortcuts and
// registry values of the test's own prefix: a package folder and an installed
// folder, with InstallOptions pointing at them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/handle.h"
#include "driver/install_options.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/test_folders.h"

// A package folder and the destination "<root>\Orvelle 6" (not created).
// InstallOptions points at them for a first per-user installation without
// desktop icon; the options as they were come back afterwards.
class EngineTest : public testing::Test {
 protected:
  EngineTest();
  ~EngineTest() override;

  std::string Package(const std::string& relative) const { return package_ / relative; }
  std::string Installed(const std::string& relative) const {
    return InstallOptions.destinationFolder + "\\" + relative;
  }
  // Writes the package's install script, each line ended by CR LF.
  void WriteScript(const std::vector<std::string>& lines) const;
  // Writes a package file whose bytes are its own name.
  void AddPackageFile(const std::string& relative) const;

  TestFolder package_{"orvpkg"};
  TestFolder root_{"orvdst"};

 private:
  InstallOptionsRecord saved_;
};

// The machine-wide keys an installation writes, spelt out here rather than
// taken from the product's names, so that a wrong name there is caught.
inline constexpr char kProductKey[] = "SOFTWARE\\Tamberlin\\Orvelle 6";
inline constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OrvPix6.exe";
inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvelle 6";

// Checks the text values and flags of an installation into `folder`: "AllUsers" as
// `allUsers`, "DisplayVersion" as `displayVersion` ("6.03.01").
void ExpectRegistryEntries(const std::string& folder, const std::string& allUsers, const std::string& displayVersion);

// The local date `minutesAgo` minutes ago as "InstallDate" gives it: YYYYMMDD.
std::string LocalDate(unsigned minutesAgo);

// The lines of a text file without their line ends (CR LF or LF).
std::vector<std::string> ReadLines(const std::string& path);

// A running program whose executable is `path` (a copy of the test program,
// sleeping): the file is in use as a running image, so it cannot be deleted
// but can be renamed. Ended when the object goes.
class RunningCopy {
 public:
  explicit RunningCopy(const std::string& path);
  ~RunningCopy() { End(); }
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;
  bool Running() const { return static_cast<bool>(process_); }
  void End();

 private:
  UniqueHandle process_;
};

// A shortcut file read back through IShellLinkA and IPersistFile::Load.
struct ShortcutContents {
  bool loaded = false;
  std::string target;
  std::string workingFolder;
  std::string description;
};
ShortcutContents ReadShortcut(const std::string& path);

// The access list of a file or folder as its security descriptor keeps it:
// each entry "SID rights flags" (rights and flags in hex), in order.
struct AccessList {
  bool read = false;
  bool isProtected = false;  // nothing inherited from the parent
  std::vector<std::string> entries;
};
AccessList AccessListOf(const std::string& path);
