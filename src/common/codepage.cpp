#include "common/codepage.h"

#include <windows.h>

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void LowerInPlace(char* text, std::size_t length) {
  if (!text) return;
  // CharLowerBuffA goes through Unicode, so a double-byte character could come
  // back changed (full-width letters have lower-case forms) or a lone lead
  // byte as the default character. Only single-byte characters are handed to
  // it, one at a time.
  std::size_t i = 0;
  while (i < length) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(byte)) {
      // A lead byte and its trail byte stay as they are; a lead byte at the
      // very end has no trail byte and stays as well.
      i += (i + 1 < length && text[i + 1] != '\0') ? 2 : 1;
      continue;
    }
    if (byte != 0) {
      // Through a one-byte copy: a conversion that does not give back
      // exactly one byte changes nothing.
      char one[1] = {text[i]};
      if (CharLowerBuffA(one, 1) == 1) text[i] = one[0];
    }
    ++i;
  }
}

unsigned AnsiCodePage() { return GetACP(); }
