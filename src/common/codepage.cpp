#include "common/codepage.h"

#include <windows.h>

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

char LowerSingleByte(char byte) {
  // CharLowerBuffA goes through Unicode: given a double-byte character it
  // could change it (full-width letters have lower-case forms) or give a lone
  // lead byte back as the default character, so it only ever sees one
  // single-byte character. A conversion that does not give back exactly one
  // byte changes nothing.
  if (byte == '\0') return byte;
  char one[1] = {byte};
  return CharLowerBuffA(one, 1) == 1 ? one[0] : byte;
}

unsigned AnsiCodePage() { return GetACP(); }
