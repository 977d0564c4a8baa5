#include "framework/display_scale.h"

#include "common/system_entry.h"
#include "framework/gdi_objects.h"

namespace {
constexpr UINT kBaseDpi = 96;

// GetDpiForWindow: Windows 10 1607 and later, looked up (older systems lack
// it, and the headers of the oldest supported system do not declare it).
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
}  // namespace

UINT WindowDpi(HWND window) {
  static const auto entry = User32Entry<GetDpiForWindowFunction>("GetDpiForWindow");
  if (entry != nullptr) {
    const UINT dpi = entry(window);
    if (dpi != 0) return dpi;
  }
  // Without it: the system DPI, which every window has on such systems.
  const WindowDc dc(window);
  if (dc.get() == nullptr) return kBaseDpi;
  const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

int ScaleForDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kBaseDpi)); }
