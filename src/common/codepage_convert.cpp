#include "common/codepage_convert.h"

#include <windows.h>

namespace {

// `text` of code page `codePage` as UTF-16; empty when it does not convert.
std::wstring WideOf(UINT codePage, std::string_view text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  if (MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], wideLength) != wideLength) return std::wstring();
  return wide;
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

std::wstring WideOfAnsi(std::string_view text) { return WideOf(CP_ACP, text); }

std::string AnsiOfWide(std::wstring_view text) { return NarrowOf(CP_ACP, text); }

std::string Utf8OfAnsi(std::string_view text) { return NarrowOf(CP_UTF8, WideOf(CP_ACP, text)); }
