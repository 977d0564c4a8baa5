// replay_lines LOG FOLDER
// Times the two log replays of the uninstaller on one log, in this process,
// and prints "<milliseconds> <lines>": the per-line cost of reading and
// acting on an uninstall log, without process start.
#include <windows.h>

#include <cstdio>

#include "bench_clock.h"
#include "uninstall/install_log.h"
#include "uninstall/log_replay.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: replay_lines LOG FOLDER\n");
    return 2;
  }
  long lines = 0;
  for (LogReader reader(argv[1]); reader.Next();) ++lines;

  const double start = BenchNowMs();
  RemoveLoggedLinks(argv[1]);
  RemoveLoggedFiles(argv[1], argv[2]);
  const double elapsed = BenchNowMs() - start;
  std::printf("%.1f %ld\n", elapsed, lines);
  return 0;
}
