// bench_time COMMAND LINE...
// Starts the command line (the rest of its own, verbatim), waits for the
// process to end and prints "<milliseconds> <exit status>": the cost of a
// program from its process start to its end, without the Unix-side cost of
// starting Wine.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench_clock.h"

int main() {
  const char* rest = BenchArgumentsAfterProgram();
  if (*rest == '\0') {
    std::fprintf(stderr, "usage: bench_time PROGRAM [ARGS...]\n");
    return 2;
  }
  char commandLine[32768];
  if (std::strlen(rest) >= sizeof commandLine) {
    std::fprintf(stderr, "bench_time: command line too long\n");
    return 2;
  }
  std::strcpy(commandLine, rest);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = BenchNowMs();
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "bench_time: cannot start (%lu): %s\n", GetLastError(), rest);
    return 2;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  const double elapsed = BenchNowMs() - start;
  DWORD status = 0;
  GetExitCodeProcess(info.hProcess, &status);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  std::printf("%.1f %lu\n", elapsed, status);
  return 0;
}
