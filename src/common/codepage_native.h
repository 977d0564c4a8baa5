// The native build's model of the ANSI code page, for the sanitizer tests and
// the fuzz targets of the portable core: code page 1252 (the default) or 932
// (Shift-JIS, whose trail bytes can equal the backslash).
#pragma once

// Chooses the code page the rules of codepage.h follow from now on; false,
// and nothing changed, for any other than 1252 and 932.
bool SetNativeCodePage(unsigned codePage);
