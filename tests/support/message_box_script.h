// Answers the program's message boxes in unit tests and records what they
// showed: text, caption, style, owner.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"

struct ShownMessageBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;
};

// While alive, every message box is recorded and answered from `answers` in
// order (IDYES, IDNO, IDOK...); once they run out, boxes are answered with
// `fallback`.
class MessageBoxScript {
 public:
  explicit MessageBoxScript(std::vector<int> answers = {}, int fallback = IDCANCEL);
  ~MessageBoxScript();
  MessageBoxScript(const MessageBoxScript&) = delete;
  MessageBoxScript& operator=(const MessageBoxScript&) = delete;

  const std::vector<ShownMessageBox>& Shown() const { return shown_; }

 private:
  static int WINAPI Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
  std::vector<int> answers_;
  int fallback_;
  std::vector<ShownMessageBox> shown_;
};

// The box showed `text` under the program's caption, with `style`.
testing::AssertionResult IsBox(const ShownMessageBox& box, const std::string& text, UINT style);

// Makes any message box that no MessageBoxScript answers fail the running test.
void InstallUnexpectedMessageBoxGuard();
