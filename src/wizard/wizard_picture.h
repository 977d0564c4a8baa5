// The wizard picture at the display's scale. Bitmap 101 is drawn for 96 dots
// per inch; elsewhere the frame shows a copy scaled with halftone filtering to
// the place the layout gives it (dialog units follow the font), so that it
// neither stays small in its corner nor is stretched by the system.
#pragma once
#include <windows.h>

#include "framework/gdi_objects.h"

class WizardPicture {
 public:
  // Shows bitmap 101 in the bitmap static `control`, as large as fits in
  // `place` (a client size) with its proportions kept, and sizes the control
  // so that its client area is the bitmap's size. A place that is the
  // bitmap's own size but for the rounding of dialog units shows the bitmap
  // as drawn. False when the scaled copy could not be made: the control keeps
  // the bitmap and the size it has.
  bool Show(HWND control, SIZE place);

 private:
  // The copy the control shows; a static control never deletes a bitmap it
  // was given, so it is kept, and deleted, here (after the control is gone).
  UniqueBitmap shown_;
};

// The client size that the frame `frame`'s layout gives its picture `control`:
// the template's place in dialog units, in pixels, less the control's border.
// Empty when the frame's dialog units cannot be read.
SIZE PicturePlace(HWND frame, HWND control);
