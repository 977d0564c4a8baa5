// Pictures of windows on the test's display, saved as PNG files for people to
// look at; tests assert on controls, never on pixels.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

// Copies the window's rectangle of the screen (what is shown there, boxes
// on top included) into a 24-bit PNG file; false when nothing was written.
bool SaveScreenshot(HWND window, const std::string& pngPath);

}  // namespace ui
