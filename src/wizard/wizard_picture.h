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
  // Shows bitmap 101 in the bitmap static `control` as drawn for `dpi`, but
  // no taller than `room` (a client height; 0 for no limit) and never smaller
  // than drawn, its proportions kept, and sizes the control so that its
  // client area (inside the border) is the bitmap's size. A size within the rounding of dialog units of the
  // bitmap's own shows the bitmap as drawn (the control keeps the bitmap it
  // loaded from the template). False when the scaled copy could not be made:
  // the control keeps the bitmap it has.
  bool Show(HWND control, UINT dpi, LONG room);

 private:
  // The copy the control shows; a static control never deletes a bitmap it
  // was given, so it is kept, and deleted, here (after the control is gone).
  UniqueBitmap shown_;
};

// The client height that the layout of `frame` gives its picture `control`:
// the template's height in dialog units, in pixels, less the border. The
// dialog font does not always grow as much as the DPI does (Wine's does not).
LONG PictureRoom(HWND frame, HWND control);
