// Functions of the system looked up at run time rather than imported: the
// older systems lack them, and an import the system cannot resolve would keep
// the program from starting at all.
#pragma once
#include <windows.h>

// The function `name` of the loaded system library `module` as a `Function`
// pointer; null when missing.
template <class Function>
Function SystemEntry(const char* module, const char* name) {
  const HMODULE library = GetModuleHandleA(module);
  // Through void*: a FARPROC does not convert to another function type.
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// The kernel32 function `name`. Every looked-up entry is kept one way: typed
// from the system's own declaration (which costs no import) and looked up
// once per run, in a function-local static or in the module's seam table:
//   static const auto entry = Kernel32Entry<decltype(&::SetDllDirectoryA)>("SetDllDirectoryA");
template <class Function>
Function Kernel32Entry(const char* name) {
  return SystemEntry<Function>("kernel32", name);
}

// The user32 function `name`, looked up the same way. An entry that the
// headers of the oldest supported system do not declare is typed by hand.
template <class Function>
Function User32Entry(const char* name) {
  return SystemEntry<Function>("user32", name);
}
