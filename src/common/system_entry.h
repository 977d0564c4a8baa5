// Functions of the system looked up at run time rather than imported: the
// older systems lack them, and an import the system cannot resolve would keep
// the program from starting at all.
#pragma once
#include <windows.h>

// The kernel32 function `name` as a `Function` pointer; null when missing.
// Every looked-up entry is kept one way: typed from the system's own
// declaration (which costs no import) and looked up once per run, in a
// function-local static or in the module's seam table:
//   static const auto entry = Kernel32Entry<decltype(&::SetDllDirectoryA)>("SetDllDirectoryA");
template <class Function>
Function Kernel32Entry(const char* name) {
  const HMODULE kernel = GetModuleHandleA("kernel32");
  // Through void*: a FARPROC does not convert to another function type.
  return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

// The user32 function `name`, looked up the same way. An entry that the
// headers of the oldest supported system do not declare is typed by hand.
template <class Function>
Function User32Entry(const char* name) {
  const HMODULE user = GetModuleHandleA("user32");
  return user ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}
