// Packages and destinations the setup did not expect: install scripts of
// binary garbage, with zero bytes, a line of a megabyte, an end-of-file
// mark, or no line end; a destination that is a file. The real setup.exe
// runs silently to its end, installs what the readable lines name, and the
// installed uninstaller then leaves nothing behind.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/text.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "install_cycle.h"
#include "support/installed_state.h"
#include "support/package_run.h"
#include "system_snapshot.h"

namespace {

constexpr char kCrLf[] = "\r\n";

// Bytes of every value, in an order that repeats from a fixed seed, without
// the line feed (the lines around it stay lines) and without the end-of-file
// mark 0x1A (its own case below).
std::string Garbage(std::size_t size, unsigned seed) {
  std::string bytes;
  unsigned state = seed;
  while (bytes.size() < size) {
    state = state * 1103515245u + 12345u;
    const char byte = static_cast<char>((state >> 16) & 0xFF);
    if (byte != '\n' && byte != '\x1A') bytes += byte;
  }
  return bytes;
}

// The sample package's script lines, each with `between` before it.
std::string Interleaved(const std::vector<std::string>& lines, const std::string& between) {
  std::string script;
  for (const std::string& line : lines) script += between + line + kCrLf;
  return script;
}

const std::vector<std::string> kPayload = {
    "File Copy: OrvPix6.exe",   "File Copy: OrvUnInst.exe", "File Copy: OrvPix6Man.chm",
    "File Copy: readme.txt",    "File Copy: HomePage.url",  "File Copy: defaults-fr.cfg > defaults.cfg",
    "Make Dir: Filters",        "File Copy: Filters\\*.flt"};
const std::vector<std::string> kFullTree = {"Filters\\",      "Filters\\contrast.flt", "Filters\\sepia.flt",
                                            "HomePage.url",   "OrvPix6.exe",           "OrvPix6Man.chm",
                                            "OrvUnInst.exe",  "OrvUnInst.log",         "defaults.cfg",
                                            "readme.txt"};

struct ScriptCase {
  const char* name;
  std::string script;
  std::vector<std::string> installed;  // the installed folder afterwards
};

std::vector<ScriptCase> ScriptCases() {
  std::string noLineEnds;  // one line, as a whole script without line ends
  std::string lastWithoutEnd = Interleaved(kPayload, "");
  lastWithoutEnd.resize(lastWithoutEnd.size() - 2);
  std::string zeroBytes;
  for (const std::string& line : kPayload) zeroBytes += line + std::string("\0 and after a zero", 18) + kCrLf;
  zeroBytes += std::string("\0File Del: OrvPix6.exe\r\n", 24);  // nothing before the zero: an empty line
  const std::string megabyte(1 << 20, 'x');
  const std::string endOfFile = Interleaved({kPayload[0], kPayload[1]}, "") + "\x1A" + Interleaved(kPayload, "");
  return {
      {"BinaryGarbageBetweenTheLines", Interleaved(kPayload, Garbage(4096, 7) + kCrLf) + Garbage(4096, 8), kFullTree},
      {"ZeroBytesInsideTheLines", zeroBytes, kFullTree},
      {"LineOfAMegabyte", Interleaved(kPayload, megabyte + kCrLf), kFullTree},
      {"LastLineWithoutLineEnd", lastWithoutEnd, kFullTree},
      {"NoLineEndAtAll", "File Copy: OrvUnInst.exe", {"OrvUnInst.exe", "OrvUnInst.log"}},
      // An end-of-file mark is a byte like any other: the line it begins is
      // passed over, the lines after it are read, by the installer and by the
      // uninstaller, whose own entries come last.
      {"EndOfFileMarkAfterTwoLines", endOfFile, kFullTree},
  };
}

// Test names carry the case's name, not its bytes.
void PrintTo(const ScriptCase& c, std::ostream* out) { *out << c.name; }

class DamagedScript : public testing::TestWithParam<ScriptCase> {};

TEST_P(DamagedScript, InstallsWhatItCanReadAndIsRemovedWithoutResidue) {
  const PackageRun run("orvdamaged", "package");
  ASSERT_TRUE(run.CopyPackage());
  ASSERT_TRUE(WriteFileBytes(run.Package() + "\\" + names::kUninstallLog, GetParam().script));
  const SystemSnapshot before = TakeSnapshot();

  ASSERT_EQ(run.RunSetup("-s"), 0);
  const std::string installed = InstalledFolder();
  ASSERT_FALSE(installed.empty());
  EXPECT_EQ(TreeOf(installed), GetParam().installed);
  // The uninstall log is the script as it was, then the installer's lines.
  const std::string log = ReadFileBytes(installed + "\\" + names::kUninstallLog);
  EXPECT_EQ(log.compare(0, GetParam().script.size(), GetParam().script), 0) << "the script was not copied as it is";

  ASSERT_TRUE(UninstallSilently(installed));
  EXPECT_EQ(Residue(before, TakeSnapshot()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Scripts, DamagedScript, testing::ValuesIn(ScriptCases()),
                         [](const testing::TestParamInfo<ScriptCase>& test) { return test.param.name; });

TEST(DamagedDestination, AFileNamedAsDestinationIsLeftAsItWas) {
  const PackageRun run("orvdestfile", "package");
  ASSERT_TRUE(run.CopyPackage());
  const std::string file = run.Root() / "Orvelle 6";
  const std::string contents = "the user's own file, not a folder";
  ASSERT_TRUE(WriteFileBytes(file, contents));

  // The folder cannot be made where the file is: the run fails having
  // changed nothing, and installs nothing elsewhere.
  ASSERT_EQ(run.RunSetup("-s -instdir \"" + file + "\""), exitstatus::kFailed);
  EXPECT_EQ(ReadFileBytes(file), contents);
  const DWORD attributes = GetFileAttributesA(file.c_str());
  EXPECT_FALSE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(InstalledFolder(), "");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
  EXPECT_FALSE(PathExists(DefaultInstalledFolder()));
}

}  // namespace
