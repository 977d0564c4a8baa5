#include "startup/command_line.h"

#include <cstdlib>

#include "common/names.h"
#include "common/text.h"

namespace {
constexpr const char* kSilent = names::kSilentSwitch;
constexpr char kQuietSlash[] = "/s";
constexpr char kInstall[] = "-install";
constexpr const char* kDelSelf = names::kSelfRemovalSwitch;  // compared exactly
constexpr const char* kWait = names::kWaitSwitch;

// A handle value on the copy's command line: decimal digits only; 0 otherwise.
std::uintptr_t HandleValue(const std::string& argument) {
  if (argument.empty() || argument.size() > 10 || argument.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  return static_cast<std::uintptr_t>(std::strtoull(argument.c_str(), nullptr, 10));
}
}  // namespace

std::string TakeLogSwitch(std::vector<std::string>& args) {
  std::string path;
  for (std::size_t i = 1; i < args.size();) {
    if (!SwitchEquals(args[i], names::kLogSwitch)) {
      ++i;
      continue;
    }
    const std::size_t end = i + 2 <= args.size() ? i + 2 : args.size();
    if (end == i + 2) path = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return path;
}

StartupChoice ReadStartupChoice(const std::vector<std::string>& args, const std::string& ownPath) {
  StartupChoice choice;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (SwitchEquals(args[i], kSilent)) choice.silent = true;
    if (SwitchEquals(args[i], kWait)) choice.wait = true;
  }
  // Only positions 2 and later are scanned for the quiet switches: "setup -s"
  // is silent without them (it leaves running copies running).
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (SwitchEquals(args[i], kQuietSlash) || SwitchEquals(args[i], kSilent)) choice.quietInstances = true;
  }

  if (args.size() >= 3 && args[1] == kDelSelf) {
    choice.mode = StartMode::SelfRemoval;
    choice.uninstallerPath = args[2];
    for (std::size_t i = 3; i + 2 < args.size(); ++i) {
      if (!SwitchEquals(args[i], kWait)) continue;
      choice.waitingUninstaller = HandleValue(args[i + 1]);
      choice.statusPipe = HandleValue(args[i + 2]);
      break;
    }
    return choice;
  }
  if (args.size() >= 2 && SwitchEquals(args[1], kInstall)) {
    choice.mode = StartMode::Setup;
    return choice;
  }
  // The whole path counts: a folder named like setup.exe selects setup too.
  std::string lowered = ownPath;
  ToLower(lowered);
  choice.mode = lowered.find(names::kSetupExe) != std::string::npos ? StartMode::Setup : StartMode::Uninstall;
  return choice;
}
