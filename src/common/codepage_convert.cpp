#include "common/codepage_convert.h"

#include <windows.h>

namespace {

// `text` of code page `codePage` as UTF-16 with a terminator; empty when it
// does not convert.
WideText WideOf(UINT codePage, std::string_view text) {
  if (text.empty()) return WideText();
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return WideText();
  WideText wide(static_cast<std::size_t>(wideLength) + 1, L'\0');
  if (MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength) != wideLength) return WideText();
  return wide;
}

// The characters of a converted text, without its terminator.
std::wstring_view CharactersOf(const WideText& wide) {
  return wide.empty() ? std::wstring_view() : std::wstring_view(wide.data(), wide.size() - 1);
}

// The UTF-16 `text` in code page `codePage`; empty when it does not convert.
std::string NarrowOf(UINT codePage, std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, 0, text.data(), length, &narrow[0], size, nullptr, nullptr) != size)
    return std::string();
  return narrow;
}

}  // namespace

WideText WideOfAnsi(std::string_view text) { return WideOf(CP_ACP, text); }

std::string AnsiOfWide(std::wstring_view text) { return NarrowOf(CP_ACP, text); }

std::string Utf8OfAnsi(std::string_view text) { return NarrowOf(CP_UTF8, CharactersOf(WideOf(CP_ACP, text))); }
