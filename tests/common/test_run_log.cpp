// Where the administrator's log may be written: a run with an administrator's
// rights must never hand its writes, or its identity, to a device or to a
// file another account prepared.
#include "common/run_log.h"

#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "support/platform_override.h"
#include "support/test_folders.h"

namespace {

TEST(RunLogPath, OnlyAPlainDiskFileIsKept) {
  TestFolder root("orvlog");
  const std::string target = root / "target.log";
  ASSERT_TRUE(WriteFileBytes(target, "x"));
  ASSERT_TRUE(CreateHardLinkA((root / "second name.log").c_str(), target.c_str(), nullptr));
  struct Case {
    std::string path;
    bool kept;
  };
  const Case cases[] = {
      {root / "run.log", true},
      {"\\\\?\\" + root / "long form.log", true},
      {"NUL", false},
      {root / "nul.txt", false},
      {root / "Com7.log", false},
      {root / "lpt1", false},
      {"CONOUT$", false},
      {"\\\\.\\pipe\\orvelle-log", false},
      {"\\\\?\\GLOBALROOT\\Device\\Null", false},
      {root.Path(), false},               // a folder
      {root / "second name.log", false},  // a file with two names
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(OpenRunLog(c.path), c.kept);
    EXPECT_EQ(RunLogOpen(), c.kept);
    CloseRunLog();
  }
}

// A pipe that slips past the names is opened for identification only, and a
// link is opened as itself (then refused as a reparse point).
DWORD g_flags = 0;
HANDLE WINAPI RecordFlags(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                          DWORD flags, HANDLE templateFile) {
  g_flags = flags;
  return CreateFileA(path, access, share, security, disposition, flags, templateFile);
}

TEST(RunLogPath, OpensForIdentificationOnlyAndNotThroughALink) {
  TestFolder root("orvlog");
  const PlatformOverride<RunLogCalls> recorded(RunLogPlatform(), RunLogCalls{&RecordFlags});
  ASSERT_TRUE(OpenRunLog(root / "run.log"));
  CloseRunLog();
  EXPECT_EQ(g_flags & (SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION | SECURITY_EFFECTIVE_ONLY),
            static_cast<DWORD>(SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION));
  EXPECT_TRUE(g_flags & FILE_FLAG_OPEN_REPARSE_POINT);
}

}  // namespace
