#include "driver/driver_switches.h"

#include "common/text.h"
#include "driver/folder_values.h"

namespace {

constexpr char kInstDirSwitch[] = "-instdir";
constexpr char kRunAfterSwitch[] = "-runafter";
constexpr char kAllUsersSwitch[] = "-allusers";
constexpr char kAutoStartSwitch[] = "-autostart";
constexpr char kNoDesktopIconSwitch[] = "-nodeskico";

// What follows "-instdir" is a folder unless it is empty or itself a switch.
bool NamesAFolder(const std::string& argument) {
  return !argument.empty() && argument[0] != '-' && argument[0] != '/';
}

}  // namespace

DriverSwitches ReadDriverSwitches(const std::vector<std::string>& args, bool (*folderExists)(const std::string&),
                                  std::string (*fullPath)(const std::string&)) {
  DriverSwitches switches;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& argument = args[i];
    if (argument == kInstDirSwitch && i + 1 < args.size()) {
      const std::string& folder = args[i + 1];
      // A switch or nothing where the folder belongs: no folder was given.
      if (!NamesAFolder(folder) || !folderExists) continue;
      switches.destination = folder;
      switches.destinationMissing = !folderExists(folder);
      std::string& candidate = switches.destination;
      // A relative folder would be stored as it is in the registry and name
      // another place from every other current folder. One that cannot be
      // made a full path stays as given, and the installation refuses it.
      if (fullPath) {
        const std::string full = fullPath(candidate);
        if (!full.empty()) candidate = full;
      }
      if (!IsDriveRoot(candidate)) {
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
