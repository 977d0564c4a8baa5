// startup_probe wizard SETUP-EXE
//   Starts the setup program and prints the milliseconds from the process
//   start to its first visible dialog (the wizard frame), then ends it.
// startup_probe noop UNINSTALLER-EXE
//   Starts the uninstaller, answers No to its question as soon as the box is
//   visible and prints the milliseconds from the start to the process's end.
// Polls every millisecond, so the figures are not rounded to a timer step.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench_clock.h"
#include "ui_driver.h"

namespace {

// The first visible dialog of the process, or null after `timeoutMs`.
HWND WaitForVisibleDialog(DWORD processId, HANDLE process, double timeoutMs) {
  const double start = BenchNowMs();
  while (BenchNowMs() - start < timeoutMs) {
    if (HWND found = ui::FindDialog(processId)) return found;
    if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "wizard") != 0 && std::strcmp(argv[1], "noop") != 0)) {
    std::fprintf(stderr, "usage: startup_probe wizard|noop PROGRAM\n");
    return 2;
  }
  const bool wizard = std::strcmp(argv[1], "wizard") == 0;
  char commandLine[MAX_PATH + 3];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", argv[2]);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = BenchNowMs();
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "startup_probe: cannot start %s (%lu)\n", argv[2], GetLastError());
    return 2;
  }
  HWND dialog = WaitForVisibleDialog(info.dwProcessId, info.hProcess, 30000);
  const double shown = BenchNowMs() - start;
  int status = 0;
  if (!dialog) {
    std::fprintf(stderr, "startup_probe: no dialog of %s\n", argv[2]);
    TerminateProcess(info.hProcess, 1);
    status = 1;
  } else if (wizard) {
    std::printf("%.1f\n", shown);
    TerminateProcess(info.hProcess, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, IDNO, 0);
    if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) {
      std::printf("%.1f\n", BenchNowMs() - start);
    } else {
      TerminateProcess(info.hProcess, 1);
      status = 1;
    }
  }
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return status;
}
