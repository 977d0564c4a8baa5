#include "wizard/wizard_page.h"

bool CWizardPage::Close() {
  DestroyWindow();
  return true;
}

std::string CWizardPage::ItemText(int id) const { return WindowText(Item(id)); }

std::string WindowText(HWND window) {
  if (!window) return std::string();
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], static_cast<int>(text.size()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}
