// Conversions between the system's ANSI code page, UTF-16 and UTF-8: the
// program's texts are ANSI, the shell, the file system's handle calls and the
// string table speak UTF-16, the administrator's log is UTF-8. Windows only
// (the portable core keeps to codepage.h).
#pragma once
#include <string>
#include <string_view>
#include <vector>

// UTF-16 text, zero-terminated: `size() - 1` characters. Not std::wstring,
// whose compiled instantiations in the static runtime would add some 35 KB
// to setup.exe for these few conversions.
using WideText = std::vector<wchar_t>;

// The ANSI text as UTF-16 with its terminator; empty (not even the
// terminator) when the text is empty or does not convert.
WideText WideOfAnsi(std::string_view text);

// The UTF-16 text in the ANSI code page (a character it lacks becomes the
// code page's default character); empty when it is empty or does not convert.
std::string AnsiOfWide(std::wstring_view text);

// The ANSI text as UTF-8; empty when the text is empty or does not convert.
std::string Utf8OfAnsi(std::string_view text);
