// A run of the real setup.exe with its wizard on the test's display, seen
// and driven from the test process: the frame, the page on show, its
// buttons, message boxes and the folder browser.
#pragma once
#include <windows.h>

#include <string>

#include "support/processes.h"

// Pages by their index in the wizard, recognised by a control of their own.
enum class Page { None = -1, Welcome = 0, Agreement = 1, Folder = 2, Group = 3, Ready = 4 };

class WizardSession {
 public:
  // Starts `program` with `arguments` in `currentFolder`; waits for the
  // frame. False when it did not appear.
  bool Start(const std::string& program, const std::string& arguments, const std::string& currentFolder);

  HWND Frame() const { return frame_; }
  // The page on show (a child dialog of the frame); null when none.
  HWND PageWindow() const;
  Page Shown() const;
  // Waits until `page` is on show.
  bool WaitFor(Page page, DWORD timeoutMs = 10000) const;

  // Texts and states of the frame's own controls.
  std::string Title() const;
  std::string Caption(int id) const;
  bool FrameItemShown(int id) const;
  bool FrameItemEnabled(int id) const;
  bool HasFocus(int id) const;
  // Text, state of a control of the page on show.
  std::string PageText(int id) const;
  bool PageItemShown(int id) const;
  bool PageItemChecked(int id) const;
  // The page's rectangle and the picture's, in the frame's client area.
  RECT PagePlace() const;
  RECT PicturePlace() const;

  // Clicks a button of the frame or a control of the page (as the mouse).
  void ClickFrame(int id) const;
  void ClickPage(int id) const;
  // Presses a key in the frame (sent to the focused control).
  void Key(UINT virtualKey) const;
  // Replaces the text of a control of the page.
  bool Type(int id, const std::string& text) const;
  // Clicks Next and waits for `page`.
  bool Next(Page page) const;

  // The message box on show, waiting up to `timeoutMs`; null when none.
  HWND Box(DWORD timeoutMs = 10000) const;
  // The folder browser on show; null when none.
  HWND Browser(DWORD timeoutMs = 10000) const;
  // Clicks Browse and returns the browser once it shows `folderName` as the
  // folder selected. Wine's browser sometimes keeps its first item instead
  // of the folder the program selects while it is still filling its tree;
  // such a browser is cancelled and Browse clicked again, up to three times.
  // Null when no browser came to show the folder.
  HWND OpenBrowserOn(const std::string& folderName) const;

  // Saves a picture of the window (the frame unless given) as
  // screenshots\<name>.png in the build folder; at a display of another DPI
  // than 96, in screenshots\dpi<N>\.
  void Screenshot(const std::string& name, HWND window = nullptr) const;

  // Waits for the process to end: its status, -1 when it did not end.
  long Finish(DWORD timeoutMs = 30000) { return WaitForExit(process_, timeoutMs); }

 private:
  StartedProcess process_;
  HWND frame_ = nullptr;
};

// The display's dots per inch (the prefix's LogPixels; 96 unless set).
UINT DisplayDpi();

// The ids of the browser's tree and of its edit box (the name of the
// folder selected), as the system's browser numbers them.
constexpr int kBrowserTree = 14145;
constexpr int kBrowserFolderName = 14149;
