#include "ui_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {
namespace {
struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char name[32];
  if (GetClassNameA(window, name, sizeof name) && std::strcmp(name, "#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForDialog(DWORD processId, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    Search search{processId, nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

bool WaitForClose(HWND window, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

std::string Text(HWND window) {
  char text[4096] = {};
  DWORD_PTR copied = 0;
  if (!window || !SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                      SMTO_ABORTIFHUNG, 2000, &copied))
    return std::string();
  return std::string(text, copied < sizeof text ? copied : sizeof text - 1);
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

std::string MessageBoxText(HWND box) { return ItemText(box, 0xFFFF); }

std::vector<int> ButtonIds(HWND dialog) {
  std::vector<int> ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32];
    if (!IsWindowVisible(child) || !GetClassNameA(child, name, sizeof name) || _stricmp(name, "Button") != 0)
      continue;
    ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

bool Press(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

}  // namespace ui

#ifdef UI_DRIVER_MAIN
// Command-line use by scripts:
//   ui_driver box PID TIMEOUT_MS [BUTTON_ID]
// prints the caption, the text and the button ids of the process's first
// dialog, then presses BUTTON_ID when given. Exit status 1 when none appears.
int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "box") == 0) {
    HWND box = ui::WaitForDialog(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)),
                                 static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    if (!box) return 1;
    std::printf("caption: %s\ntext: %s\nbuttons:", ui::Text(box).c_str(), ui::MessageBoxText(box).c_str());
    for (int id : ui::ButtonIds(box)) std::printf(" %d", id);
    std::printf("\n");
    if (argc >= 5) ui::Press(box, std::atoi(argv[4]));
    return 0;
  }
  std::fprintf(stderr, "usage: ui_driver box PID TIMEOUT_MS [BUTTON_ID]\n");
  return 2;
}
#endif
