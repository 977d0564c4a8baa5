// The start-up's reading of the command line: the mode and the switches that
// start-up itself acts on. Portable; arguments arrive as the C runtime split
// them (args[0] is the program, quotes already removed).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class StartMode { Setup, Uninstall, SelfRemoval };

struct StartupChoice {
  StartMode mode = StartMode::Uninstall;
  bool silent = false;           // "-s" (any case) at any position from 1 on
  bool quietInstances = false;   // "-s" or "/s" (any case) from position 2 on
  bool wait = false;             // "-wait" (any case) at any position from 1 on
  std::string uninstallerPath;   // self-removal mode: the uninstaller to delete
  // Self-removal mode with "-wait" followed by two decimal numbers: the
  // handles this copy inherited from the uninstaller that waits for it (its
  // process, and the pipe the removal's status goes to); 0 when not given.
  std::uintptr_t waitingUninstaller = 0;
  std::uintptr_t statusPipe = 0;
};

// Takes every "-log" (any case, from position 1 on) and the argument after
// it out of `args`, before any other switch is read, so that positions and
// switches are as if it had not been given; a "-log" in the last place goes
// alone. Returns the path of the last one; empty when none was given.
std::string TakeLogSwitch(std::vector<std::string>& args);

// Decides the mode and switches. `ownPath` is the program's full path.
StartupChoice ReadStartupChoice(const std::vector<std::string>& args, const std::string& ownPath);

