#include "startup/library_search.h"

#include <windows.h>

#include "common/system_entry.h"

namespace {
// LOAD_LIBRARY_SEARCH_SYSTEM32, named here because older headers lack it.
constexpr DWORD kSearchSystemFolderOnly = 0x00000800;
}  // namespace

bool RestrictLibrarySearch() {
  // Both looked up, not imported.
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  const auto setDirectory = Kernel32Entry<SetDirectory>("SetDllDirectoryA");
  // An empty text takes the current folder out of the standard search.
  if (setDirectory) setDirectory("");
  const auto setDefault = Kernel32Entry<SetDefaultDirectories>("SetDefaultDllDirectories");
  return setDefault && setDefault(kSearchSystemFolderOnly);
}
