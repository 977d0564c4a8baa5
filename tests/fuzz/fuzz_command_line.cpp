// Both readings of the command line, on any argument vector (the input split
// at zero bytes): the start-up's mode and switches, and the install driver's
// switches with a destination that exists when the test says so.
#include <string>
#include <vector>

#include "common/text.h"
#include "driver/driver_switches.h"
#include "fuzz_input.h"
#include "startup/command_line.h"

namespace {

// A path exists when its length is even: both answers occur.
bool EvenLengthExists(const std::string& path) { return path.size() % 2 == 0; }

std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> args;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos <= text.size(); ++pos) {
    if (pos < text.size() && text[pos] != '\0') continue;
    args.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = SplitArguments(TakeCodePage(data, size));
  const std::string& ownPath = args[0];

  const StartupChoice choice = ReadStartupChoice(args, ownPath);
  bool silent = false;
  for (std::size_t i = 1; i < args.size(); ++i) silent = silent || SwitchEquals(args[i], "-s");
  FUZZ_CHECK(choice.silent == silent);
  const bool selfRemoval = args.size() >= 3 && args[1] == "-delself";
  FUZZ_CHECK((choice.mode == StartMode::SelfRemoval) == selfRemoval);
  FUZZ_CHECK(!selfRemoval || choice.uninstallerPath == args[2]);
  FUZZ_CHECK(selfRemoval || choice.uninstallerPath.empty());
  // A quiet switch is only ever found from position 2 on.
  FUZZ_CHECK(!choice.quietInstances || args.size() >= 3);

  const DriverSwitches switches = ReadDriverSwitches(args, &EvenLengthExists);
  if (!switches.destination.empty()) {
    // The folder after some "-instdir", with at most one separator less.
    bool found = false;
    for (std::size_t i = 1; i + 1 < args.size() && !found; ++i) {
      const std::string& folder = args[i + 1];
      found = args[i] == "-instdir" && folder.compare(0, switches.destination.size(), switches.destination) == 0 &&
              folder.size() - switches.destination.size() <= 1;
    }
    FUZZ_CHECK(found);
  }
  return 0;
}
