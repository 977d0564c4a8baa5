#include "wizard/wizard_picture.h"

#include <cstdlib>
#include <utility>

#include "common/string_table.h"
#include "framework/display_scale.h"
#include "resources/resource_ids.h"

namespace {

// Dialog units round to whole pixels: a size this close to the bitmap's own
// is the one it was drawn for.
constexpr LONG kRoundingSlack = 2;

// The control's border: its window size less its client size.
SIZE BorderOf(HWND control) {
  RECT window{};
  RECT client{};
  if (!GetWindowRect(control, &window) || !GetClientRect(control, &client)) return SIZE{0, 0};
  return SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

// `source` (of `from`'s size) scaled to `to`, compatible with the display of
// `window`; none on failure.
UniqueBitmap ScaledBitmap(HWND window, HBITMAP source, SIZE from, SIZE to) {
  const WindowDc display(window);
  if (display.get() == nullptr) return UniqueBitmap();
  UniqueBitmap scaled(CreateCompatibleBitmap(display.get(), to.cx, to.cy));
  const MemoryDc sourceDc(display.get());
  const MemoryDc targetDc(display.get());
  if (!scaled || sourceDc.get() == nullptr || targetDc.get() == nullptr) return UniqueBitmap();
  const Selection readFrom(sourceDc.get(), source);
  const Selection drawInto(targetDc.get(), scaled.get());
  if (!readFrom || !drawInto) return UniqueBitmap();
  // Halftone averages the source pixels behind each target pixel (no repeated
  // pixels as with a plain stretch); it needs the brush origin set after it.
  SetStretchBltMode(targetDc.get(), HALFTONE);
  SetBrushOrgEx(targetDc.get(), 0, 0, nullptr);
  if (!StretchBlt(targetDc.get(), 0, 0, to.cx, to.cy, sourceDc.get(), 0, 0, from.cx, from.cy, SRCCOPY))
    return UniqueBitmap();
  return scaled;
}

}  // namespace

bool WizardPicture::Show(HWND control, UINT dpi, LONG room) {
  UniqueBitmap original(static_cast<HBITMAP>(
      LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDB_WIZARD), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  BITMAP source{};
  if (!original || GetObjectA(original.get(), sizeof source, &source) == 0) return false;
  const SIZE drawn{source.bmWidth, source.bmHeight};
  SIZE size{ScaleForDpi(drawn.cx, dpi), ScaleForDpi(drawn.cy, dpi)};
  if (room > 0 && size.cy > room) size = SIZE{MulDiv(drawn.cx, room, drawn.cy), room};
  // Never smaller than drawn: where the dialog font gives less room than the
  // bitmap (Wine's fonts at 96 DPI), it stays as it always was shown.
  if (size.cy < drawn.cy) size = drawn;
  const bool asDrawn = labs(size.cx - drawn.cx) <= kRoundingSlack && labs(size.cy - drawn.cy) <= kRoundingSlack;
  if (asDrawn) size = drawn;
  // The control's own bitmap (from the template) is the one drawn; a copy is
  // made only for another size, and replaced by the original on a return.
  if (!asDrawn || shown_) {
    UniqueBitmap picture = asDrawn ? std::move(original) : ScaledBitmap(control, original.get(), drawn, size);
    if (!picture) return false;
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    shown_ = std::move(picture);  // the copy shown before goes now
  }
  const SIZE border = BorderOf(control);
  SetWindowPos(control, nullptr, 0, 0, size.cx + border.cx, size.cy + border.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

LONG PictureRoom(HWND frame, HWND control) {
  RECT place{0, 0, 0, PICTURE_HEIGHT_DLU};
  if (!MapDialogRect(frame, &place)) return 0;
  return place.bottom - BorderOf(control).cy;
}
