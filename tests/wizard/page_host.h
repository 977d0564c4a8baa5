// A plain top-level window for wizard pages created in the test's own
// process (needs a display).
#pragma once
#include <windows.h>

class PageHost {
 public:
  PageHost()
      : window_(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~PageHost() {
    if (window_) DestroyWindow(window_);
  }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;
  HWND Window() const { return window_; }

 private:
  HWND window_;
};
