#include "startup/command_line.h"

#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace {

struct ModeCase {
  const char* what;
  const char* ownPath;
  std::vector<std::string> arguments;  // after the program name
  StartMode mode;
};

const char* ModeName(StartMode mode) {
  switch (mode) {
    case StartMode::Setup: return "setup";
    case StartMode::Uninstall: return "uninstall";
    case StartMode::SelfRemoval: return "self-removal";
  }
  return "?";
}

StartupChoice Read(const char* ownPath, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), ownPath);
  return ReadStartupChoice(arguments, ownPath);
}

TEST(StartupMode, FollowsTheProgramNameAndTheFirstArgument) {
  const ModeCase cases[] = {
      {"named setup.exe", "C:\\Package\\setup.exe", {}, StartMode::Setup},
      {"name upper case", "C:\\PACKAGE\\SETUP.EXE", {}, StartMode::Setup},
      {"MySetup.exe holds setup.exe", "C:\\Package\\MySetup.exe", {}, StartMode::Setup},
      {"a folder named like setup.exe", "C:\\setup.exe.files\\OrvUnInst.exe", {}, StartMode::Setup},
      {"the uninstaller", "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe", {}, StartMode::Uninstall},
      {"Install.exe", "C:\\Package\\Install.exe", {}, StartMode::Uninstall},
      {"Install.exe -install", "C:\\Package\\Install.exe", {"-install"}, StartMode::Setup},
      {"-INSTALL in capitals", "C:\\Package\\Install.exe", {"-INSTALL"}, StartMode::Setup},
      {"-install only at position 1", "C:\\Package\\Install.exe", {"-s", "-install"}, StartMode::Uninstall},
      {"-delself with a path", "C:\\Temp\\uni1.tmp", {"-delself", "C:\\Orvelle 6\\OrvUnInst.exe"},
       StartMode::SelfRemoval},
      {"-delself wins over the name", "C:\\Package\\setup.exe", {"-delself", "C:\\X\\OrvUnInst.exe"},
       StartMode::SelfRemoval},
      {"-delself alone", "C:\\Orvelle 6\\OrvUnInst.exe", {"-delself"}, StartMode::Uninstall},
      {"-DELSELF is compared exactly", "C:\\Package\\Install.exe", {"-DELSELF", "C:\\X\\OrvUnInst.exe"},
       StartMode::Uninstall},
      {"-delself not first", "C:\\Orvelle 6\\OrvUnInst.exe", {"-s", "-delself", "C:\\X\\OrvUnInst.exe"},
       StartMode::Uninstall},
      {"a glued switch is no switch", "C:\\Package\\Install.exe", {"-install:yes"}, StartMode::Uninstall},
  };
  for (const ModeCase& c : cases) {
    EXPECT_STREQ(ModeName(Read(c.ownPath, c.arguments).mode), ModeName(c.mode)) << c.what;
  }
}

TEST(StartupMode, SelfRemovalTakesTheUninstallerPath) {
  StartupChoice choice = Read("C:\\Temp\\uni2A.tmp", {"-delself", "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe", "-s"});
  EXPECT_EQ(choice.mode, StartMode::SelfRemoval);
  EXPECT_EQ(choice.uninstallerPath, "C:\\Program Files\\Orvelle 6\\OrvUnInst.exe");
  EXPECT_TRUE(choice.silent);
  EXPECT_EQ(choice.waitingUninstaller, 0u);
}

TEST(StartupMode, TheCopyTakesTheWaitHandlesOnlyAsTwoDecimalNumbers) {
  struct Case {
    std::vector<std::string> tail;  // after -delself and the path
    std::uintptr_t process, pipe;
  } cases[] = {
      {{"-s", "-wait", "412", "96"}, 412, 96},
      {{"-WAIT", "7", "8"}, 7, 8},
      {{"-wait", "0x10", "8"}, 0, 8},
      {{"-wait", "12"}, 0, 0},
      {{"-wait", "-1", "99999999999"}, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"-delself", "C:\\Orvelle 6\\OrvUnInst.exe"};
    arguments.insert(arguments.end(), c.tail.begin(), c.tail.end());
    StartupChoice choice = Read("C:\\Temp\\uni2A.tmp", arguments);
    EXPECT_EQ(choice.waitingUninstaller, c.process) << c.tail[0];
    EXPECT_EQ(choice.statusPipe, c.pipe) << c.tail[0];
  }
}

struct SwitchCase { std::vector<std::string> arguments; bool silent; bool quietInstances; bool wait = false; };

TEST(StartupSwitches, SilentAnywhereQuietOnlyFromPositionTwo) {
  const SwitchCase cases[] = {
      {{}, false, false},
      {{"-s"}, true, false},        // silent, without the quiet flag
      {{"-S"}, true, false},
      {{"/s"}, false, false},       // position 1 is not scanned for "/s"
      {{"-install", "/s"}, false, true},
      {{"-install", "/S"}, false, true},
      {{"-install", "-s"}, true, true},
      {{"-instdir", "C:\\X", "-s"}, true, true},
      {{"-silent"}, false, false},
      {{"s"}, false, false},
      {{"-install", "-runafter", "/s", "-nodeskico"}, false, true},
      {{"-wait"}, false, false, true},
      {{"-s", "-Wait"}, true, false, true},
      {{"-waits"}, false, false, false},
  };
  for (const SwitchCase& c : cases) {
    StartupChoice choice = Read("C:\\Package\\setup.exe", c.arguments);
    std::string shown;
    for (const auto& a : c.arguments) shown += a + " ";
    EXPECT_EQ(choice.silent, c.silent) << shown;
    EXPECT_EQ(choice.quietInstances, c.quietInstances) << shown;
    EXPECT_EQ(choice.wait, c.wait) << shown;
  }
}

TEST(StartupSwitches, TheLogPairGoesBeforeAnyOtherRule) {
  const struct Case {
    std::vector<std::string> arguments, left;
    const char* path;
  } cases[] = {
      {{"-log", "C:\\a.log", "-install"}, {"-install"}, "C:\\a.log"},
      {{"-install", "-LOG", "-s"}, {"-install"}, "-s"},  // the path "-s" is no switch
      {{"-log", "a", "-s", "-log", "b"}, {"-s"}, "b"},
      {{"-s", "-log"}, {"-s"}, ""},
      {{"-logs", "x"}, {"-logs", "x"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.begin(), "setup.exe");
    EXPECT_EQ(TakeLogSwitch(arguments), c.path) << c.arguments[0] << " " << c.arguments[1];
    arguments.erase(arguments.begin());
    EXPECT_EQ(arguments, c.left) << c.arguments[0] << " " << c.arguments[1];
  }
}

}  // namespace
