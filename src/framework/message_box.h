// Every message box of the program passes through ShowMessageBox, so that unit
// tests can answer it and end-to-end tests can find it on screen.
#pragma once
#include <windows.h>

// The platform calls of this module, the system's unless a test has put its
// own in (a test answers a box instead of showing it).
struct MessageBoxCalls {
  int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);  // MessageBoxA
};
MessageBoxCalls& MessageBoxPlatform();

// Shows the box through MessageBoxPlatform(); returns the button pressed.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// The framework's message box: caption is the application title (string
// 57344); a box that asks for no icon gets the exclamation icon with OK
// buttons and the question icon with Yes/No buttons. Owner: the active
// main window, if any.
int AppMessageBox(const char* text, UINT style = MB_OK);
int AppMessageBox(unsigned stringId, UINT style = MB_OK);

// The main window that framework boxes are owned by (the wizard while it runs).
void SetAppMainWindow(HWND window);
