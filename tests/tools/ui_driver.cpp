#include "ui_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace ui {

// No SMTO_ABORTIFHUNG: on a loaded machine a program busy for a moment
// counts as hung, and a text would read as empty or a check box as clear.
bool SendToProgram(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return window && SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, result) != 0;
}

namespace {
BOOL CALLBACK CollectShown(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->first && IsWindowVisible(window)) found->second.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> ShownWindows(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  EnumWindows(&CollectShown, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

bool IsDialog(HWND window) {
  char name[32];
  return GetClassNameA(window, name, sizeof name) && std::strcmp(name, "#32770") == 0;
}

HWND FindDialog(DWORD processId) {
  for (HWND window : ShownWindows(processId))
    if (IsDialog(window)) return window;
  return nullptr;
}

HWND WaitForDialog(DWORD processId, DWORD timeoutMs) { return WaitForWindow(processId, timeoutMs, &IsDialog); }

bool WaitForClose(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string Text(HWND window) {
  char text[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendToProgram(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), &copied))
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

HWND WaitForDialogTitled(DWORD processId, const std::string& title, DWORD timeoutMs) {
  return WaitForWindow(processId, timeoutMs, [&](HWND window) { return IsDialog(window) && Text(window) == title; });
}

HWND WaitForWindowTitled(DWORD processId, const std::string& title, DWORD timeoutMs) {
  return WaitForWindow(processId, timeoutMs, [&](HWND window) { return Text(window) == title; });
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  return WaitForWindow(processId, timeoutMs,
                       [](HWND window) { return IsDialog(window) && GetDlgItem(window, 0xFFFF) != nullptr; });
}

HWND ChildDialog(HWND frame) {
  for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && IsDialog(child)) return child;
  return nullptr;
}

bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

bool IsChecked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  HWND control = GetDlgItem(dialog, id);
  return SendToProgram(control, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool Click(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && PostMessageA(control, BM_CLICK, 0, 0) != 0;
}

bool PressKey(HWND dialog, UINT virtualKey) {
  HWND target = FocusOf(dialog);
  if (!target) target = dialog;
  const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | static_cast<LPARAM>(scan << 16);
  const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
  return PostMessageA(target, WM_KEYDOWN, virtualKey, down) && PostMessageA(target, WM_KEYUP, virtualKey, up);
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(dialog, id);
  DWORD_PTR result = 0;
  return SendToProgram(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) && result != 0;
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
