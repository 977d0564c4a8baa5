#include "common/module_path.h"

#include <windows.h>

#include "common/names.h"

std::string OwnProgramPath() {
  char path[kMaxPath];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // A full buffer means the path was cut.
  if (length == 0 || length >= sizeof path) return std::string();
  return std::string(path, length);
}
