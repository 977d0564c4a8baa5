#include "common/string_table.h"

#include "common/codepage_convert.h"

namespace {
HINSTANCE g_resourceModule = nullptr;  // null: the running executable
}  // namespace

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

HINSTANCE ResourceModule() { return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr); }

std::string LoadStringResource(unsigned id) {
  // With a zero buffer size LoadStringW hands out the resource's own text and
  // its length, so no entry is cut by a buffer of ours.
  const WCHAR* text = nullptr;
  const int length = LoadStringW(ResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::string();
  return AnsiOfWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}
