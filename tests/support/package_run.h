// The real programs run from the tests: the setup of a copy of the sample
// package and the uninstaller of an installation, started in a test folder,
// waited for, their exit status.
#pragma once
#include <windows.h>

#include <string>

#include "common/names.h"
#include "driver/existing_install.h"
#include "support/processes.h"
#include "support/test_folders.h"

// How long one run of the setup or the uninstaller may take.
inline constexpr DWORD kProgramRunWait = 60000;

// A package's setup and an installed folder's uninstaller, by the names the
// sample package gives them.
inline std::string SetupIn(const std::string& package) { return package + "\\setup.exe"; }
inline std::string UninstallerIn(const std::string& folder) { return folder + "\\OrvUnInst.exe"; }
// The folder a silent first installation goes to: Program Files\Orvelle 6.
inline std::string DefaultInstalledFolder() { return ProgramFilesFolder() + "\\" + names::kProductName; }

// Copies the setup.exe the build makes to `path` (a user or an installation
// places it under another name); false when it could not.
bool CopySetupTo(const std::string& path);

// A test folder named after `rootName`, with the sample package's copy in it
// as `packageName` (made by CopyPackage), and programs started from there.
class PackageRun {
 public:
  explicit PackageRun(const char* rootName = "orvtest", const char* packageName = "Orvelle 6 package");

  // False when anything of the sample package could not be copied.
  bool CopyPackage() const { return CopyTree(SamplePackageFolder(), package_); }
  const TestFolder& Root() const { return root_; }
  const std::string& Package() const { return package_; }

  // Starts `program` with `arguments` in `folder` (the test folder when empty).
  StartedProcess Start(const std::string& program, const std::string& arguments,
                       const std::string& folder = std::string()) const;
  // Start and the wait for the end: the exit status, -1 when it did not start
  // or end within `timeoutMs` (it is then ended).
  long RunProgram(const std::string& program, const std::string& arguments, const std::string& folder = std::string(),
                  DWORD timeoutMs = kProgramRunWait) const;
  // The same for the package copy's setup, in the test folder.
  StartedProcess StartSetup(const std::string& arguments) const { return Start(SetupIn(package_), arguments); }
  long RunSetup(const std::string& arguments, DWORD timeoutMs = kProgramRunWait) const {
    return RunProgram(SetupIn(package_), arguments, std::string(), timeoutMs);
  }

 protected:
  TestFolder root_;
  const std::string package_;
};
