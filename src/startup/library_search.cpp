#include "startup/library_search.h"

#include <windows.h>

#include "common/system_entry.h"

namespace {
// LOAD_LIBRARY_SEARCH_SYSTEM32, named here because older headers lack it.
constexpr DWORD kSearchSystemFolderOnly = 0x00000800;
}  // namespace

bool RestrictLibrarySearch() {
  // Both looked up, not imported.
  static const auto setDirectory = Kernel32Entry<decltype(&::SetDllDirectoryA)>("SetDllDirectoryA");
  static const auto setDefault = Kernel32Entry<decltype(&::SetDefaultDllDirectories)>("SetDefaultDllDirectories");
  // An empty text takes the current folder out of the standard search.
  if (setDirectory) setDirectory("");
  return setDefault && setDefault(kSearchSystemFolderOnly);
}
