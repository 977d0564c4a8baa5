// Drives the windows of another process on the same display: finds its
// dialogs and message boxes, reads their texts, presses their buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/wait_until.h"

namespace ui {

using ::WaitUntil;  // support/wait_until.h

// The visible top-level windows of the process at this moment, in z-order.
std::vector<HWND> ShownWindows(DWORD processId);
// The first of them that `match` accepts, waiting up to `timeoutMs`; null when none.
template <typename Match>
HWND WaitForWindow(DWORD processId, DWORD timeoutMs, Match match) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : ShownWindows(processId))
          if (match(window)) return (found = window) != nullptr;
        return false;
      },
      timeoutMs);
  return found;
}
// A window of the dialog class (#32770: dialogs and message boxes).
bool IsDialog(HWND window);

// The first visible top-level dialog-class window (#32770: dialogs and
// message boxes) of the process, waiting up to `timeoutMs`; null when none.
HWND WaitForDialog(DWORD processId, DWORD timeoutMs);
// The first visible dialog of the process at this moment; null when none.
HWND FindDialog(DWORD processId);

// Waits until the window is gone (closed or its process ended).
bool WaitForClose(HWND window, DWORD timeoutMs);

// Sends `message` to a window of another process and waits up to 10 s for
// its answer, however busy that process is meanwhile. False when the window
// is gone or the wait ran out.
bool SendToProgram(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result);

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

// The visible top-level dialog of the process whose title is `title`,
// waiting up to `timeoutMs`; null when none.
HWND WaitForDialogTitled(DWORD processId, const std::string& title, DWORD timeoutMs);

// The first visible top-level window of the process, of any class, whose
// title is `title`, waiting up to `timeoutMs`; null when none.
HWND WaitForWindowTitled(DWORD processId, const std::string& title, DWORD timeoutMs);

// The first visible message box of the process (a dialog with the text
// static 0xFFFF), waiting up to `timeoutMs`; null when none.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// The visible child dialog of `frame` (a page of a wizard); null when none.
HWND ChildDialog(HWND frame);

// State of control `id` of a dialog: shown (the control and its parents
// visible), enabled, checked (check boxes and radio buttons).
bool IsShown(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);

// The window that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);

// Clicks a control the way the mouse would (BM_CLICK, posted): a check box
// toggles, a button sends its command.
bool Click(HWND dialog, int id);

// Posts a key press (down and up) to the focused window of the dialog's
// thread, where the dialog's message loop sees it first (Enter, Esc, arrows).
bool PressKey(HWND dialog, UINT virtualKey);

// Replaces the text of a control of another process, as typing would.
bool SetItemText(HWND dialog, int id, const std::string& text);

}  // namespace ui
