// The planting tests' probe: loads the library named by its first argument
// with the ordinary LoadLibraryA and ends with 1 when it loaded, 0 when not.
// With "--restricted" before the name it first restricts the library search
// as setup.exe does at its start. Without it, it is the control that shows
// a planted library is really found where the tests plant it.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "startup/library_search.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  int next = 1;
  if (std::strcmp(__argv[next], "--restricted") == 0) {
    if (!RestrictLibrarySearch()) return 3;
    ++next;
  }
  if (next >= __argc) return 2;
  HMODULE library = LoadLibraryA(__argv[next]);
  if (!library) return 0;
  FreeLibrary(library);
  return 1;
}
