// The code-page facts the text helpers need, behind one small interface so
// that the text rules themselves stay portable (no <windows.h> there). The
// product uses the system's (codepage.cpp); the native build of the portable
// core has its own model of code pages 1252 and 932 (codepage_native.cpp).
#pragma once

// True when the byte starts a double-byte character in the system's ANSI code
// page (IsDBCSLeadByte on Windows).
bool IsLeadByte(unsigned char byte);

// The lower-case form of one single-byte character (not a lead byte) by the
// rules of the ANSI code page; the character itself when it has none.
char LowerSingleByte(char byte);

// The ANSI code page these rules follow (GetACP on Windows).
unsigned AnsiCodePage();
