// The scale a window is drawn at. The program declares itself aware of each
// monitor's DPI: dialog units follow the dialog font by themselves, but sizes
// given in pixels (gaps, the wizard picture) are given for 96 dots per inch
// and scaled here.
#pragma once
#include <windows.h>

// Dots per inch of the display `window` is on (per monitor where the system
// tells it, else the system's); 96 when it cannot be read.
UINT WindowDpi(HWND window);

// `pixels` at 96 dots per inch, at `dpi` (rounded to the nearest pixel).
int ScaleForDpi(int pixels, UINT dpi);
