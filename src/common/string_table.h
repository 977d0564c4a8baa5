// Texts of the program's own string table, fetched by number.
#pragma once
#include <windows.h>

#include <string>

// The module whose resources are used; the running executable by default.
void SetResourceModule(HINSTANCE module);
HINSTANCE ResourceModule();

// The entry's text in the ANSI code page; the empty text when there is none.
std::string LoadStringResource(unsigned id);
