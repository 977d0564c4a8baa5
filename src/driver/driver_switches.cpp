#include "driver/driver_switches.h"

#include "common/text.h"
#include "driver/folder_values.h"

namespace {

constexpr char kInstDirSwitch[] = "-instdir";
constexpr char kRunAfterSwitch[] = "-runafter";
constexpr char kAllUsersSwitch[] = "-allusers";
constexpr char kAutoStartSwitch[] = "-autostart";
constexpr char kNoDesktopIconSwitch[] = "-nodeskico";

}  // namespace

DriverSwitches ReadDriverSwitches(const std::vector<std::string>& args, bool (*folderExists)(const std::string&),
                                  std::string (*fullPath)(const std::string&)) {
  DriverSwitches switches;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& argument = args[i];
    if (argument == kInstDirSwitch && i + 1 < args.size()) {
      const std::string& folder = args[i + 1];
      switches.destination = folderExists && folderExists(folder) ? folder : std::string();
      std::string& candidate = switches.destination;
      // A relative folder would be stored as it is in the registry and name
      // another place from every other current folder.
      if (!candidate.empty() && fullPath) candidate = fullPath(candidate);
      if (!candidate.empty() && !IsDriveRoot(candidate)) {
        // One trailing separator, a real one (not a trail byte).
        const std::size_t last = candidate.size() - 1;
        if (FindLastChar(candidate, '\\') == last || FindLastChar(candidate, '/') == last) candidate.pop_back();
      }
    } else if (SwitchEquals(argument, kRunAfterSwitch)) {
      switches.runAfter = true;
    } else if (SwitchEquals(argument, kAllUsersSwitch)) {
      switches.allUsers = true;
    } else if (SwitchEquals(argument, kAutoStartSwitch)) {
      switches.autoStart = true;
    } else if (SwitchEquals(argument, kNoDesktopIconSwitch)) {
      switches.noDesktopIcon = true;
    }
  }
  return switches;
}
