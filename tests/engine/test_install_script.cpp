// The install script run: which lines copy what to where, under which names,
// into which sub-folders, and the lines that depend on the system.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/file_replace.h"
#include "engine/install_script.h"
#include "engine_fixture.h"
#include "support/platform_override.h"

namespace {

class InstallScript : public EngineTest {
 protected:
  // Each run with a placer of its own: its staging folders go with the run.
  void Run() {
    FilePlacer placer(Targets::MostlyFree);
    RunInstallScript(Package("OrvUnInst.log"), placer);
  }
  int CopyFilesByPattern(const std::string& pattern, const std::string& to, const std::string& from) {
    FilePlacer placer(Targets::MostlyFree);
    return ::CopyFilesByPattern(pattern, to, from, placer);
  }
  std::vector<std::string> InstalledTree() const { return TreeOf(InstallOptions.destinationFolder); }
};

TEST_F(InstallScript, OperandsLoseLineEndsBlanksAndTabs) {
  for (const char* name : {"a.dll", "b.dll", "c.dll", "d.dll", "e.dll"}) AddPackageFile(name);
  ASSERT_TRUE(WriteFileBytes(Package("OrvUnInst.log"),
                             "File Copy: a.dll\r\n"
                             "File Copy: b.dll   \r\n"
                             "File Copy: c.dll\t\t\r\n"
                             "File Copy: d.dll \t \n"
                             "File Copy: e.dll"));
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"a.dll", "b.dll", "c.dll", "d.dll", "e.dll"}));
  EXPECT_EQ(ReadFileBytes(Installed("b.dll")), "b.dll");
}

TEST_F(InstallScript, OnlyExactPrefixesInTheFirstColumnAct) {
  AddPackageFile("a.dll");
  const std::string elsewhere = root_ / "Elsewhere";
  WriteScript({"file copy: a.dll", "  File Copy: a.dll", "File Copy:a.dll", "FILE COPY: a.dll", "File Copy: ",
               "File Del: a.dll", "File Overwrite: a.dll", "Make Dir:Sub", "Made Dir: " + elsewhere,
               "Shell Link: " + elsewhere + "\\x.lnk", "; File Copy: a.dll", ""});
  Run();
  EXPECT_FALSE(PathExists(InstallOptions.destinationFolder));
  EXPECT_FALSE(PathExists(elsewhere));
  EXPECT_TRUE(PathExists(Package("a.dll")));
}

TEST_F(InstallScript, PatternWithoutMatchesTouchesNothingAndTheScriptGoesOn) {
  AddPackageFile("readme.txt");
  InstallOptions.destinationFolder = root_ / "Apps\\Orvelle 6";
  WriteScript({"File Copy: *.dll"});
  Run();
  EXPECT_FALSE(PathExists(root_ / "Apps"));

  WriteScript({"File Copy: *.dll", "File Copy: readme.txt"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"readme.txt"}));
}

TEST_F(InstallScript, FirstMatchingPatternCreatesATwoLevelDestination) {
  for (const char* name : {"viewer.cfg", "readme.txt"}) AddPackageFile(name);
  InstallOptions.destinationFolder = root_ / "Apps\\Tamberlin\\Orvelle 6";
  WriteScript({
      "File Copy: viewer.cfg > early.cfg",  // no destination yet: fails
      "Make Dir: Filters",                  // one level only: fails as well
      "File Copy: readme.txt",              // creates Apps, Tamberlin, Orvelle 6
      "File Copy: viewer.cfg > settings.cfg",
  });
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"readme.txt", "settings.cfg"}));
  EXPECT_EQ(ReadFileBytes(Installed("settings.cfg")), "viewer.cfg");
}

TEST_F(InstallScript, SubFolderPatterns) {
  ASSERT_TRUE(CreateDirectoryA(Package("Sub").c_str(), nullptr));
  for (const char* name : {"Sub\\x.txt", "Sub\\y.txt", "Sub\\z.flt", "x.txt"}) AddPackageFile(name);
  struct Case { std::vector<std::string> script; std::vector<std::string> installed; };
  // Each script begins by copying x.txt, which creates the destination, so
  // that "Make Dir: " has a folder to work in.
  const Case cases[] = {
      {{"File Copy: x.txt", "Make Dir: Sub", "File Copy: Sub\\*.txt"}, {"Sub\\", "Sub\\x.txt", "Sub\\y.txt", "x.txt"}},
      // Without its sub-folder the first copy fails and ends the pattern.
      {{"File Copy: x.txt", "File Copy: Sub\\*.txt"}, {"x.txt"}},
      // The search takes "/" for a separator, so the copy does too: the
      // files found in Sub never come from the folder above it.
      {{"File Copy: x.txt", "Make Dir: Sub", "File Copy: Sub/*.txt"}, {"Sub\\", "Sub\\x.txt", "Sub\\y.txt", "x.txt"}},
      {{"File Copy: x.txt", "File Copy: Sub/x.txt"}, {"x.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.script));
    RemoveTree(InstallOptions.destinationFolder);
    WriteScript(c.script);
    Run();
    EXPECT_EQ(InstalledTree(), c.installed);
    if (c.installed.size() > 1) EXPECT_EQ(ReadFileBytes(Installed("Sub\\x.txt")), "Sub\\x.txt");
  }
}

TEST_F(InstallScript, RenamingPairs) {
  AddPackageFile("a.dll");
  ASSERT_TRUE(CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr));
  const char* const operands[] = {"a.dll > b.dll", "a.dll>b.dll", "a.dll \t>\t b.dll", "a.dll > b.dll  "};
  for (const char* operand : operands) {
    SCOPED_TRACE(operand);
    RemoveTree(InstallOptions.destinationFolder);
    ASSERT_TRUE(CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr));
    WriteScript({std::string("File Copy: ") + operand});
    Run();
    EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"b.dll"}));
    EXPECT_EQ(ReadFileBytes(Installed("b.dll")), "a.dll");
  }
}

TEST_F(InstallScript, RemarkSeparatorIsPartOfACopyOperand) {
  AddPackageFile("readme.txt");
  AddPackageFile("notes.txt");
  WriteScript({"File Copy: readme.txt | shown after setup", "File Copy: notes.txt"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"notes.txt"}));
}

TEST_F(InstallScript, MakeDirCreatesOneLevelUnderTheDestination) {
  AddPackageFile("a.dll");
  WriteScript({"File Copy: a.dll", "Make Dir: Filters  \t", "Make Dir: Deep\\Er", "Make Dir: Plug-ins"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"Filters\\", "Plug-ins\\", "a.dll"}));
}

TEST_F(InstallScript, LongLineIsReadAsTwoLines) {
  AddPackageFile("a.dll");
  AddPackageFile("b.dll");
  // 600 bytes: a remark of 511, then 89 that begin with a prefix and are
  // read as a line of their own.
  const std::string second = "File Copy: b.dll" + std::string(89 - 16, ' ');
  const std::string line = "Remark: File Copy: a.dll" + std::string(511 - 24, '.') + second;
  ASSERT_EQ(line.size(), 600u);
  WriteScript({line});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"b.dll"}));
}

TEST_F(InstallScript, PatternWalkStopsAtTheFirstFailedCopy) {
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) AddPackageFile(name);
  ASSERT_TRUE(CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(Installed("c.txt").c_str(), nullptr));  // cannot be replaced

  // The expected result follows the file system's order of the matches.
  std::vector<std::string> expected = {"c.txt\\"};
  int copiedBefore = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Package("*.txt").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    if (std::string(found.cFileName) == "c.txt") break;
    expected.push_back(found.cFileName);
    ++copiedBefore;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(expected.begin(), expected.end());

  EXPECT_EQ(CopyFilesByPattern("*.txt", InstallOptions.destinationFolder, package_.Path()), copiedBefore);
  EXPECT_EQ(InstalledTree(), expected);
}

TEST_F(InstallScript, PatternMatchingAFolderCopiesNothing) {
  ASSERT_TRUE(CreateDirectoryA(Package("Filters").c_str(), nullptr));
  AddPackageFile("Filters\\sepia.flt");
  ASSERT_TRUE(CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(Installed("Filters").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(Installed("Filters\\user.flt"), "user's"));

  EXPECT_EQ(CopyFilesByPattern("Filters", InstallOptions.destinationFolder, package_.Path()), 0);
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"Filters\\", "Filters\\user.flt"}));
}

TEST_F(InstallScript, PathsPastTheLimitAreRefused) {
  AddPackageFile("a.dll");
  InstallOptions.destinationFolder = root_ / std::string(250 - root_.Path().size(), 'd');
  WriteScript({"Make Dir: " + std::string(20, 's'), "File Copy: a.dll > " + std::string(20, 'n'), "File Copy: a.dll"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"a.dll"}));
}

// "File Copy x64: " lines act only in a 32-bit process on 64-bit Windows.
TEST_F(InstallScript, X64LinesFollowTheRealSystem) {
  // The 32-bit test program runs on 64-bit Wine.
  ASSERT_TRUE(IsRunningUnderWow64());
  AddPackageFile("OrvShell64.dll");
  AddPackageFile("a.dll");
  WriteScript({"File Copy x64: OrvShell64.dll", "File Copy x64: a.dll > b64.dll"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"OrvShell64.dll", "b64.dll"}));
}

BOOL WINAPI ReportsWow64(HANDLE, PBOOL isWow64) {
  *isWow64 = TRUE;
  return TRUE;
}
BOOL WINAPI ReportsNoWow64(HANDLE, PBOOL isWow64) {
  *isWow64 = FALSE;
  return TRUE;
}
BOOL WINAPI FailsWithoutAnswer(HANDLE, PBOOL) { return FALSE; }

TEST_F(InstallScript, X64LinesFollowTheWow64Flag) {
  AddPackageFile("OrvShell64.dll");
  AddPackageFile("always.dll");
  WriteScript({"File Copy x64: OrvShell64.dll", "File Copy: always.dll"});
  struct Case {
    const char* name;
    decltype(InstallScriptCalls::isWow64Process) query;
    bool copied;
  };
  const Case cases[] = {{"entry missing", nullptr, false},
                        {"32-bit Windows", &ReportsNoWow64, false},
                        {"call fails, flag stays false", &FailsWithoutAnswer, false},
                        {"64-bit Windows", &ReportsWow64, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveTree(InstallOptions.destinationFolder);
    {
      const PlatformOverride<InstallScriptCalls> query(InstallScriptPlatform(), {c.query});
      EXPECT_EQ(IsRunningUnderWow64(), c.copied);
      Run();
    }
    EXPECT_EQ(PathExists(Installed("OrvShell64.dll")), c.copied);
    EXPECT_TRUE(PathExists(Installed("always.dll")));
  }
}

// "File Copy ind: " copies a library only when the system cannot load one of
// that name itself. The package folder is made the current folder, as it is
// for a setup started from it: a library lying there would be found unless
// it is renamed while the system is asked.
class ConditionalCopy : public InstallScript {
 protected:
  ConditionalCopy() {
    GetCurrentDirectoryA(MAX_PATH, previousFolder_);
    SetCurrentDirectoryA(package_.Path().c_str());
  }
  ~ConditionalCopy() override { SetCurrentDirectoryA(previousFolder_); }
  // A real, loadable library in the package under `name`.
  void AddPackageLibrary(const std::string& name) {
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\engine_probe_library.dll").c_str(), Package(name).c_str(), FALSE));
  }

  char previousFolder_[MAX_PATH] = {};
};

TEST_F(ConditionalCopy, SystemLibraryIsNotCopied) {
  AddPackageFile("comdlg32.dll");
  WriteScript({"File Copy ind: comdlg32.dll", "File Copy ind: comdlg32.dll > dialogs.dll"});
  Run();
  EXPECT_FALSE(PathExists(InstallOptions.destinationFolder));
  EXPECT_EQ(ReadFileBytes(Package("comdlg32.dll")), "comdlg32.dll");
  EXPECT_FALSE(PathExists(Package("comdlg32.dll.toinst")));
}

TEST_F(ConditionalCopy, LibraryTheSystemLacksIsCopied) {
  AddPackageLibrary("orvcodec.dll");
  AddPackageLibrary("orvraw.dll");
  WriteScript({"File Copy ind: orvcodec.dll", "File Copy ind: orvraw.dll  > orvraw32.dll"});
  Run();
  EXPECT_EQ(InstalledTree(), (std::vector<std::string>{"orvcodec.dll", "orvraw32.dll"}));
  EXPECT_EQ(TreeOf(package_.Path()),
            (std::vector<std::string>{"OrvUnInst.log", "orvcodec.dll", "orvraw.dll"}));
  // The package's copy is loadable, and is loaded from here when present.
  HMODULE local = LoadLibraryA("orvcodec.dll");
  EXPECT_NE(local, nullptr);
  if (local) FreeLibrary(local);
}

TEST_F(ConditionalCopy, StrayProbeNameNeverTakesTheLibrarysName) {
  // The library is missing from the package, but a file of its probe name
  // lies there: it stays as it is.
  ASSERT_TRUE(WriteFileBytes(Package("orvcodec.dll.toinst"), "stray"));
  WriteScript({"File Copy ind: orvcodec.dll"});
  Run();
  EXPECT_FALSE(PathExists(Package("orvcodec.dll")));
  EXPECT_EQ(ReadFileBytes(Package("orvcodec.dll.toinst")), "stray");
  EXPECT_FALSE(PathExists(InstallOptions.destinationFolder));
}

TEST_F(InstallScript, MissingScriptDoesNothing) {
  AddPackageFile("a.dll");
  Run();
  EXPECT_FALSE(PathExists(InstallOptions.destinationFolder));
}

}  // namespace
