#include "wizard/wizard_picture.h"

#include <utility>

#include "common/string_table.h"
#include "framework/display_scale.h"
#include "resources/resource_ids.h"

namespace {

// `source` (of `from`'s size) scaled to `to`, compatible with the display of
// `window`; none on failure.
UniqueBitmap ScaledBitmap(HWND window, HBITMAP source, const BITMAP& from, SIZE to) {
  const WindowDc display(window);
  if (display.get() == nullptr) return UniqueBitmap();
  UniqueBitmap scaled(CreateCompatibleBitmap(display.get(), to.cx, to.cy));
  const MemoryDc sourceDc(display.get());
  const MemoryDc targetDc(display.get());
  if (!scaled || sourceDc.get() == nullptr || targetDc.get() == nullptr) return UniqueBitmap();
  const Selection readFrom(sourceDc.get(), source);
  const Selection drawInto(targetDc.get(), scaled.get());
  if (!readFrom || !drawInto) return UniqueBitmap();
  // Halftone averages the source pixels behind each target pixel (no blocks,
  // no blur of a plain stretch); it needs the brush origin set after it.
  SetStretchBltMode(targetDc.get(), HALFTONE);
  SetBrushOrgEx(targetDc.get(), 0, 0, nullptr);
  if (!StretchBlt(targetDc.get(), 0, 0, to.cx, to.cy, sourceDc.get(), 0, 0, from.bmWidth, from.bmHeight, SRCCOPY))
    return UniqueBitmap();
  return scaled;
}

// Sizes `control`, keeping its place, so that its client area is `size`.
void FitClientArea(HWND control, SIZE size) {
  RECT window{};
  RECT client{};
  if (!GetWindowRect(control, &window) || !GetClientRect(control, &client)) return;
  const int borderWidth = (window.right - window.left) - client.right;
  const int borderHeight = (window.bottom - window.top) - client.bottom;
  SetWindowPos(control, nullptr, 0, 0, size.cx + borderWidth, size.cy + borderHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool WizardPicture::Show(HWND control, UINT dpi) {
  UniqueBitmap original(static_cast<HBITMAP>(
      LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDB_WIZARD), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  BITMAP source{};
  if (!original || GetObjectA(original.get(), sizeof source, &source) == 0) return false;
  const SIZE size{ScaleForDpi(source.bmWidth, dpi), ScaleForDpi(source.bmHeight, dpi)};
  const bool asDrawn = size.cx == source.bmWidth && size.cy == source.bmHeight;
  if (!asDrawn || shown_) {
    // Back at 96 after a change of display, the original is shown as it is.
    UniqueBitmap picture = asDrawn ? std::move(original) : ScaledBitmap(control, original.get(), source, size);
    if (!picture) return false;
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    shown_ = std::move(picture);  // the copy shown before goes now
  }
  FitClientArea(control, size);
  return true;
}
