#include "startup/library_search.h"

#include <windows.h>

namespace {
// LOAD_LIBRARY_SEARCH_SYSTEM32, named here because older headers lack it.
constexpr DWORD kSearchSystemFolderOnly = 0x00000800;

FARPROC Kernel32Entry(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}
}  // namespace

bool RestrictLibrarySearch() {
  // Both looked up, not imported: the older systems lack them, and an import
  // the system cannot resolve would keep the program from starting at all.
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  const auto setDirectory =
      reinterpret_cast<SetDirectory>(reinterpret_cast<void*>(Kernel32Entry("SetDllDirectoryA")));
  // An empty text takes the current folder out of the standard search.
  if (setDirectory) setDirectory("");
  const auto setDefault =
      reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void*>(Kernel32Entry("SetDefaultDllDirectories")));
  return setDefault && setDefault(kSearchSystemFolderOnly);
}
