#include "framework/message_box.h"

#include "common/run_log.h"
#include "common/string_table.h"
#include "resources/resource_ids.h"

namespace {
HWND g_mainWindow = nullptr;

const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    default:
      return "none";
  }
}
}  // namespace

MessageBoxCalls& MessageBoxPlatform() {
  static MessageBoxCalls calls = {&MessageBoxA};
  return calls;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
  const int answer = MessageBoxPlatform().messageBox(owner, text, caption, style);
  if (RunLogOpen()) RunLogEvent(std::string("message \"") + text + "\", answered:", AnswerName(answer));
  return answer;
}

void SetAppMainWindow(HWND window) { g_mainWindow = window; }

int AppMessageBox(const char* text, UINT style) {
  if ((style & MB_ICONMASK) == 0) {
    UINT buttons = style & MB_TYPEMASK;
    if (buttons == MB_OK || buttons == MB_OKCANCEL)
      style |= MB_ICONEXCLAMATION;
    else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
      style |= MB_ICONQUESTION;
  }
  HWND owner = (g_mainWindow && IsWindow(g_mainWindow)) ? g_mainWindow : nullptr;
  std::string title = LoadStringResource(IDS_APP_TITLE);
  return ShowMessageBox(owner, text, title.c_str(), style);
}

int AppMessageBox(unsigned stringId, UINT style) {
  return AppMessageBox(LoadStringResource(stringId).c_str(), style);
}
