// A library left where a program may look for one (beside the program in a
// Downloads folder, in the folder it is started in) is never loaded by the
// setup: its library search is restricted to the system folder before
// anything else runs. Each case has its control: the same load without the
// restriction finds the planted library, so the test shows the planting
// works where the tests run.
#include <windows.h>

#include <string>

#include "common/names.h"
#include "gtest/gtest.h"
#include "support/package_run.h"

namespace {

constexpr char kPlanted[] = "orvplant.dll";

class LibraryPlanting : public testing::Test, protected PackageRun {
 protected:
  // Leaves the planted library in `folder`; its marker goes beside it.
  static void Plant(const std::string& folder) {
    ASSERT_TRUE(MakeFolders(folder));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\planted_library.dll").c_str(), (folder + "\\" + kPlanted).c_str(),
                          FALSE));
  }
  static std::string Marker(const std::string& folder) { return folder + "\\" + kPlanted + ".loaded"; }

  LibraryPlanting() : PackageRun("orvtest", "Downloads") {}

  const std::string& downloads_ = package_;  // where the package is copied to
  const std::string startIn_ = root_ / "Start in";
};

TEST_F(LibraryPlanting, RestrictedSearchSkipsTheProgramsAndTheCurrentFolder) {
  const std::string probe = downloads_ + "\\library_probe.exe";
  Plant(downloads_);
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\library_probe.exe").c_str(), probe.c_str(), FALSE));
  Plant(startIn_);
  struct Case {
    const char* where;
    std::string folder;  // where the planted library lies
  };
  // Beside the program (started elsewhere), and in the current folder (the
  // program's own copy taken away).
  const Case cases[] = {{"beside the program", downloads_}, {"current folder", startIn_}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    if (c.folder == startIn_) DeleteFileA((downloads_ + "\\" + kPlanted).c_str());
    EXPECT_EQ(RunProgram(probe, kPlanted, startIn_), 1) << "the control did not find the planted library";
    EXPECT_TRUE(PathExists(Marker(c.folder)));
    DeleteFileA(Marker(c.folder).c_str());
    EXPECT_EQ(RunProgram(probe, std::string("--restricted ") + kPlanted, startIn_), 0);
    EXPECT_FALSE(PathExists(Marker(c.folder))) << ReadFileBytes(Marker(c.folder));
  }
}

// The install script's "File Copy ind: " line asks whether the system can
// load the library from its own folders. A copy in the folder the setup was
// started in does not count, is not loaded into the setup, and the package's
// own library is installed.
TEST_F(LibraryPlanting, ScriptsLibraryProbeLooksOnlyInTheSystemFolder) {
  ASSERT_TRUE(CopyPackage());
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\planted_library.dll").c_str(),
                        (downloads_ + "\\" + kPlanted).c_str(), FALSE));
  const std::string script = downloads_ + "\\" + names::kUninstallLog;
  ASSERT_TRUE(WriteFileBytes(script, ReadFileBytes(script) + "File Copy ind: " + kPlanted + "\r\n"));
  Plant(startIn_);

  EXPECT_EQ(RunProgram(SetupIn(downloads_), "-s", startIn_), 0);
  EXPECT_FALSE(PathExists(Marker(startIn_))) << "loaded into the setup: " << ReadFileBytes(Marker(startIn_));
  EXPECT_TRUE(PathExists(DefaultInstalledFolder() + "\\" + kPlanted)) << "the probe counted the planted copy";
  EXPECT_TRUE(PathExists(downloads_ + "\\" + kPlanted)) << "the package's library keeps its name";
  EXPECT_FALSE(PathExists(Marker(downloads_))) << "the package's own copy was loaded by the probe";
}

}  // namespace
