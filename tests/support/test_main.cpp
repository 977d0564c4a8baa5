// Test main for every test program: plain LF output (CTest parses the test
// list), and no real message box unless a test answers it itself.
#include <fcntl.h>
#include <io.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gtest/gtest.h"
#include "support/message_box_script.h"

int main(int argc, char** argv) {
  // Child mode: tests that need a running process to close start their own
  // program this way.
  if (argc == 3 && std::strcmp(argv[1], "--orv-child-sleep") == 0) {
    Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    return 0;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  testing::InitGoogleTest(&argc, argv);
  // A box that no test expects would block the run: fail instead.
  InstallUnexpectedMessageBoxGuard();
  return RUN_ALL_TESTS();
}
