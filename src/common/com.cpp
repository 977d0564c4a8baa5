#include "common/com.h"

void EnsureComInitialised() {
  static bool initialised = false;
  if (initialised) return;
  CoInitialize(nullptr);  // never undone
  initialised = true;
}
