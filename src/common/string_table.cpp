#include "common/string_table.h"

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
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string result(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], size, nullptr, nullptr) != size) {
    return std::string();
  }
  return result;
}
