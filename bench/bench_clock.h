// Wall-clock milliseconds for the benchmark's programs, from the
// performance counter (GetTickCount steps in 10-16 ms under Wine).
#pragma once
#include <windows.h>

// Milliseconds since an arbitrary fixed point.
inline double BenchNowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The command line after the program's own name (quoted or not) and the blanks
// that follow it: the rest exactly as the caller wrote it.
inline const char* BenchArgumentsAfterProgram() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}
