// The install driver's switches on the command line. Portable: a pure
// function over the argument vector; whether a path exists is asked of the
// caller.
#pragma once
#include <string>
#include <vector>

struct DriverSwitches {
  // The folder of the last "-instdir", made a full path when the caller can
  // (as given when it cannot), one trailing "\" or "/" removed but for a
  // drive root such as C:\; empty when there was none.
  std::string destination;
  // It names no existing folder: the installation makes it (or fails).
  bool destinationMissing = false;
  bool runAfter = false;       // "-runafter"
  bool allUsers = false;       // "-allusers"
  bool autoStart = false;      // "-autostart"
  bool noDesktopIcon = false;  // "-nodeskico"
};

// Reads the switches from position 1 on (args[0] is the program, as the C
// runtime split them). Every argument is examined, also the folder after
// "-instdir": "-instdir" is compared exactly and counts only when another
// argument follows that is a folder (not empty, not starting with "-" or
// "/"); the others are compared ignoring case. `folderExists` tells whether a
// folder of that name exists (without it no folder is taken); `fullPath`,
// when given, makes the folder a full path (the empty text when it cannot).
DriverSwitches ReadDriverSwitches(const std::vector<std::string>& args, bool (*folderExists)(const std::string&),
                                  std::string (*fullPath)(const std::string&) = nullptr);
