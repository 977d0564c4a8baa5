#include "support/message_box_script.h"

#include "framework/message_box.h"
#include "gtest/gtest.h"

namespace {
MessageBoxScript* g_active = nullptr;

int FailUnexpected(HWND, const char* text, const char* caption, UINT) {
  ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << (text ? text : "");
  return IDCANCEL;
}
}  // namespace

MessageBoxScript::MessageBoxScript(std::vector<int> answers, int fallback)
    : answers_(std::move(answers)), fallback_(fallback) {
  g_active = this;
  SetMessageBoxHook(&MessageBoxScript::Answer);
}

MessageBoxScript::~MessageBoxScript() {
  g_active = nullptr;
  SetMessageBoxHook(&FailUnexpected);
}

int MessageBoxScript::Answer(HWND owner, const char* text, const char* caption, UINT style) {
  MessageBoxScript& self = *g_active;
  self.shown_.push_back({owner, text ? text : "", caption ? caption : "", style});
  if (self.shown_.size() <= self.answers_.size()) return self.answers_[self.shown_.size() - 1];
  return self.fallback_;
}

void InstallUnexpectedMessageBoxGuard() { SetMessageBoxHook(&FailUnexpected); }
