#include "support/message_box_script.h"

#include "framework/message_box.h"
#include "gtest/gtest.h"

namespace {
MessageBoxScript* g_active = nullptr;

int WINAPI FailUnexpected(HWND, LPCSTR text, LPCSTR caption, UINT) {
  ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << (text ? text : "");
  return IDCANCEL;
}
}  // namespace

MessageBoxScript::MessageBoxScript(std::vector<int> answers, int fallback)
    : answers_(std::move(answers)), fallback_(fallback) {
  g_active = this;
  MessageBoxPlatform().messageBox = &MessageBoxScript::Answer;
}

MessageBoxScript::~MessageBoxScript() {
  g_active = nullptr;
  MessageBoxPlatform().messageBox = &FailUnexpected;
}

int WINAPI MessageBoxScript::Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  MessageBoxScript& self = *g_active;
  self.shown_.push_back({owner, text ? text : "", caption ? caption : "", style});
  if (self.shown_.size() <= self.answers_.size()) return self.answers_[self.shown_.size() - 1];
  return self.fallback_;
}

testing::AssertionResult IsBox(const ShownMessageBox& box, const std::string& text, UINT style) {
  if (box.text == text && box.caption == "Orvelle - Installation" && box.style == style)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "shown \"" << box.caption << "\": \"" << box.text << "\", style 0x" << std::hex
                                     << box.style << "; expected \"" << text << "\", style 0x" << style;
}

void InstallUnexpectedMessageBoxGuard() { MessageBoxPlatform().messageBox = &FailUnexpected; }
