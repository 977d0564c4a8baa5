// The running program's own full path.
#pragma once
#include <string>

// GetModuleFileNameA of the executable; empty when the path does not fit in
// 260 bytes (a cut path would name another file).
std::string OwnProgramPath();
