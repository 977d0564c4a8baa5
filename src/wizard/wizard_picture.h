// The wizard picture at the display's scale. Bitmap 101 is drawn for 96 dots
// per inch; at another DPI the frame shows a copy scaled in proportion with
// halftone filtering, so that it grows with the rest of the frame (dialog
// units follow the font) instead of staying small in its corner, and is never
// stretched by the system.
#pragma once
#include <windows.h>

#include "framework/gdi_objects.h"

class WizardPicture {
 public:
  // Shows bitmap 101 in the bitmap static `control` as drawn for `dpi`, and
  // sizes the control so that its client area (inside the border) is the
  // bitmap's size. At 96 the control keeps the bitmap it loaded from the
  // template. False when the scaled copy could not be made: the control keeps
  // the bitmap it has.
  bool Show(HWND control, UINT dpi);

 private:
  // The copy the control shows; a static control never deletes a bitmap it
  // was given, so it is kept, and deleted, here (after the control is gone).
  UniqueBitmap shown_;
};
