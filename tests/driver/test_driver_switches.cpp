// The install driver's switches. Portable: also built natively with the
// sanitizers; whether a path exists is answered by the test.
#include <set>
#include <string>
#include <vector>

#include "driver/driver_switches.h"
#include "gtest/gtest.h"

namespace {

// Paths that exist in these tests.
const std::set<std::string>& ExistingPaths() {
  static const std::set<std::string> paths = {"C:\\Dest", "C:\\Dest\\", "D:/Other/", "C:\\Other",
                                              "-runafter"};
  return paths;
}
bool PathExists(const std::string& path) { return ExistingPaths().count(path) != 0; }

DriverSwitches Read(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "C:\\Package\\setup.exe");
  return ReadDriverSwitches(arguments, &PathExists);
}

TEST(DriverSwitchesTest, InstDirTakesAnExistingFolder) {
  const struct {
    std::vector<std::string> arguments;
    const char* destination;
    bool missing;  // to be made by the installation
  } cases[] = {
      {{"-instdir", "C:\\Dest"}, "C:\\Dest", false},
      {{"-instdir", "C:\\Dest\\"}, "C:\\Dest", false},  // one trailing separator removed
      {{"-instdir", "D:/Other/"}, "D:/Other", false},
      {{"-instdir", "C:\\Missing"}, "C:\\Missing", true},
      {{"-instdir", "C:\\Two\\Levels\\"}, "C:\\Two\\Levels", true},
      {{"-instdir", "C:\\Dest", "-instdir", "C:\\Missing"}, "C:\\Missing", true},  // the later one counts
      {{"-instdir", "C:\\Missing", "-instdir", "C:\\Other"}, "C:\\Other", false},
      {{"-instdir"}, "", false},                                         // last: ignored
      {{"-instdir", "C:\\Dest", "-instdir"}, "C:\\Dest", false},
      {{"-INSTDIR", "C:\\Dest"}, "", false},                             // compared exactly
      {{"-instdir", ""}, "", false},
      {{"-instdir", "-runafter"}, "", false},  // a switch is no folder, even one that exists
      {{"-instdir", "/s"}, "", false},
      {{"-instdir", "C:\\Dest", "-instdir", "-s"}, "C:\\Dest", false},
      {{}, "", false},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.arguments) shown += a + " ";
    const DriverSwitches read = Read(c.arguments);
    EXPECT_EQ(read.destination, c.destination) << shown;
    EXPECT_EQ(read.destinationMissing, c.missing) << shown;
  }
}

TEST(DriverSwitchesTest, OptionSwitchesInAnyCaseAndPosition) {
  const DriverSwitches none = Read({"-s"});
  EXPECT_FALSE(none.runAfter || none.allUsers || none.autoStart || none.noDesktopIcon);

  const DriverSwitches all = Read({"-RunAfter", "-s", "-ALLUSERS", "-autostart", "-NoDeskIco"});
  EXPECT_TRUE(all.runAfter && all.allUsers && all.autoStart && all.noDesktopIcon);

  // What follows "-instdir" is examined as a switch too; a switch is no folder.
  const DriverSwitches folderAsSwitch = Read({"-instdir", "-runafter"});
  EXPECT_TRUE(folderAsSwitch.runAfter);
  EXPECT_EQ(folderAsSwitch.destination, "");

  // Whole arguments only.
  const DriverSwitches glued = Read({"-runafter=1", "-allusers ", "allusers", "/autostart"});
  EXPECT_FALSE(glued.runAfter || glued.allUsers || glued.autoStart || glued.noDesktopIcon);
}

TEST(DriverSwitchesTest, NoExistenceTestMeansNoDestination) {
  EXPECT_EQ(ReadDriverSwitches({"setup.exe", "-instdir", "C:\\Dest"}, nullptr).destination, "");
}

}  // namespace
