// Polling for a state another process or the system reaches in its own time.
#pragma once
#include <windows.h>

// Waits until `condition` holds, checking every 50 ms; its last answer.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(50);
  }
  return true;
}
