#include "wizard/completion_text.h"

#include <cstdio>

#include "common/string_table.h"
#include "resources/resource_ids.h"

namespace {
constexpr char kEllipsis[] = "...";

// The text as the control shows it, a name's "&" doubled.
std::string Shown(const std::string& format, unsigned count, const std::string& name) {
  std::string escaped;
  for (char c : name) escaped += c == '&' ? std::string("&&") : std::string(1, c);
  char text[1024];
  std::snprintf(text, sizeof text, format.c_str(), static_cast<int>(count), escaped.c_str());
  return text;
}

// True when the text fits the control's client area, word-wrapped in its
// font, as a left-aligned static draws it.
bool Fits(HWND control, const std::string& text) {
  RECT client;
  if (!GetClientRect(control, &client)) return true;
  HDC dc = GetDC(control);
  if (!dc) return true;
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT needed = {0, 0, client.right, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return needed.bottom <= client.bottom && needed.right <= client.right;
}
}  // namespace

std::string IncompleteInstallationText(HWND control, unsigned count, const std::string& first) {
  const std::string format = LoadStringResource(IDS_INSTALL_INCOMPLETE);
  std::string text = Shown(format, count, first);
  // Shortened by whole characters (a double-byte one is never split).
  std::string name = first;
  while (!name.empty() && !Fits(control, text)) {
    const char* end = name.c_str() + name.size();
    name.resize(static_cast<std::size_t>(CharPrevA(name.c_str(), end) - name.c_str()));
    text = Shown(format, count, name + kEllipsis);
  }
  return text;
}
