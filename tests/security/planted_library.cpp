// A library an attacker leaves where a program may look for libraries. When
// any process loads it, it appends that program's path to the file of its
// own name plus ".loaded" beside itself.
#include <windows.h>

namespace {
void LeaveMarker(HMODULE self) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH - 8);
  if (length == 0 || length >= MAX_PATH - 8) return;
  lstrcatA(path, ".loaded");
  char program[MAX_PATH];
  const DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
  HANDLE marker = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(marker, program, programLength, &written, nullptr);
  WriteFile(marker, "\r\n", 2, &written, nullptr);
  CloseHandle(marker);
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(instance);
  return TRUE;
}
