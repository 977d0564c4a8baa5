// uninstall_work UNINSTALLER-PATH
// The self-removal copy's work without its fixed one-second wait for the
// uninstaller to end: delete the uninstaller, then the uninstall procedure on
// its folder. The product's own copy runs exactly this after the wait; the
// wait itself is not a cost of the work, so it is left out here rather than
// changed in the product.
#include <windows.h>

#include <cstdio>
#include <string>

#include "startup/self_removal.h"
#include "uninstall/uninstall.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: uninstall_work UNINSTALLER-PATH\n");
    return 2;
  }
  const std::string folder = SelfRemovalFolder(argv[1]);
  if (folder.empty()) return 1;
  DeleteFileA(argv[1]);
  Uninstall(folder.c_str());
  return 0;
}
