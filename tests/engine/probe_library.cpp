// A library that loads: the package's own copy of a library that the system
// lacks, for the tests of the conditional copy.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
