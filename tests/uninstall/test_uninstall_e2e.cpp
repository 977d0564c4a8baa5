// The real uninstaller on a prepared installation: "OrvUnInst.exe -s" starts
// its temporary copy and ends; the copy removes everything. Only the copy
// itself stays, queued for deletion at the next restart.
#include <windows.h>

#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "gtest/gtest.h"
#include "installed_state.h"
#include "support/processes.h"
#include "support/test_folders.h"

namespace {

constexpr DWORD kProcessWait = 30000;

// The restart-time operations the system holds, as one text.
std::string PendingRestartOperations() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return std::string();
  std::vector<char> data(65536);
  DWORD size = static_cast<DWORD>(data.size());
  const bool read = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read) return std::string();
  std::string text(data.data(), size);
  for (char& c : text)
    if (c == '\0') c = '\n';
  return text;
}

TEST(UninstallEndToEnd, SilentUninstallerLeavesNothingButItsQueuedCopy) {
  TestFolder root("Program Files");
  Installation installed = Installation::Make(root.Path(), "Orvelle 6");
  const std::string uninstaller = installed.folder + names::kUninstallerExe;
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\setup.exe").c_str(), uninstaller.c_str(), FALSE));

  std::string command = "\"" + uninstaller + "\" -s";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, installed.folder.c_str(),
                             &startup, &info));
  CloseHandle(info.hThread);
  UniqueHandle process(info.hProcess);
  ASSERT_EQ(WaitForSingleObject(process.get(), kProcessWait), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);

  const std::vector<std::string> copies = WaitForTemporaryCopies(kProcessWait);
  ASSERT_EQ(copies.size(), 1u) << "the uninstaller starts one temporary copy";

  installed.ExpectGone();
  EXPECT_EQ(TreeOf(root.Path()), std::vector<std::string>{});
  // The copy cannot delete itself: it is queued for the next restart.
  EXPECT_NE(PendingRestartOperations().find(copies[0]), std::string::npos) << PendingRestartOperations();
}

}  // namespace
