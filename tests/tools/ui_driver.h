// Drives the windows of another process on the same display: finds its
// dialogs and message boxes, reads their texts, presses their buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// The first visible top-level dialog-class window (#32770: dialogs and
// message boxes) of the process, waiting up to `timeoutMs`; null when none.
HWND WaitForDialog(DWORD processId, DWORD timeoutMs);

// Waits until the window is gone (closed or its process ended).
bool WaitForClose(HWND window, DWORD timeoutMs);

// Text of a window of another process (WM_GETTEXT, bounded wait).
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);

// Message box parts: the text is the static with id 0xFFFF.
std::string MessageBoxText(HWND box);
// Ids of the visible push buttons, in child order (IDOK, IDYES, IDNO...).
std::vector<int> ButtonIds(HWND dialog);

// Presses a button by posting its command to the dialog (never sent: the
// handler may open a message box and block the driver).
bool Press(HWND dialog, int id);

}  // namespace ui
