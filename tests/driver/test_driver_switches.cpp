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
  } cases[] = {
      {{"-instdir", "C:\\Dest"}, "C:\\Dest"},
      {{"-instdir", "C:\\Dest\\"}, "C:\\Dest"},  // one trailing separator removed
      {{"-instdir", "D:/Other/"}, "D:/Other"},
      {{"-instdir", "C:\\Missing"}, ""},
      {{"-instdir", "C:\\Dest", "-instdir", "C:\\Missing"}, ""},  // a later one empties it
      {{"-instdir", "C:\\Missing", "-instdir", "C:\\Other"}, "C:\\Other"},
      {{"-instdir"}, ""},                                         // last: ignored
      {{"-instdir", "C:\\Dest", "-instdir"}, "C:\\Dest"},
      {{"-INSTDIR", "C:\\Dest"}, ""},                             // compared exactly
      {{"-instdir", ""}, ""},
      {{}, ""},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.arguments) shown += a + " ";
    EXPECT_EQ(Read(c.arguments).destination, c.destination) << shown;
  }
}

TEST(DriverSwitchesTest, OptionSwitchesInAnyCaseAndPosition) {
  const DriverSwitches none = Read({"-s"});
  EXPECT_FALSE(none.runAfter || none.allUsers || none.autoStart || none.noDesktopIcon);

  const DriverSwitches all = Read({"-RunAfter", "-s", "-ALLUSERS", "-autostart", "-NoDeskIco"});
  EXPECT_TRUE(all.runAfter && all.allUsers && all.autoStart && all.noDesktopIcon);

  // The folder after "-instdir" is examined as a switch too.
  const DriverSwitches folderAsSwitch = Read({"-instdir", "-runafter"});
  EXPECT_TRUE(folderAsSwitch.runAfter);
  EXPECT_EQ(folderAsSwitch.destination, "-runafter");

  // Whole arguments only.
  const DriverSwitches glued = Read({"-runafter=1", "-allusers ", "allusers", "/autostart"});
  EXPECT_FALSE(glued.runAfter || glued.allUsers || glued.autoStart || glued.noDesktopIcon);
}

TEST(DriverSwitchesTest, NoExistenceTestMeansNoDestination) {
  EXPECT_EQ(ReadDriverSwitches({"setup.exe", "-instdir", "C:\\Dest"}, nullptr).destination, "");
}

}  // namespace
