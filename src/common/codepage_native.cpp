#include "common/codepage.h"
#include "common/codepage_native.h"

namespace {

unsigned g_codePage = 1252;

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
bool IsShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// The lower-case form of a single-byte character, as Windows gives it.
unsigned char LowerOf(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 0x20);
  if (g_codePage != 1252) return byte;  // 932: only ASCII letters have lower-case forms
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 0x20);  // À..Þ, not ×
  if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<unsigned char>(byte + 0x10);  // Š Œ Ž
  if (byte == 0x9F) return 0xFF;                                                                     // Ÿ
  return byte;
}

}  // namespace

bool SetNativeCodePage(unsigned codePage) {
  if (codePage != 1252 && codePage != 932) return false;
  g_codePage = codePage;
  return true;
}

unsigned AnsiCodePage() { return g_codePage; }

bool IsLeadByte(unsigned char byte) { return g_codePage == 932 && IsShiftJisLeadByte(byte); }

char LowerSingleByte(char byte) { return static_cast<char>(LowerOf(static_cast<unsigned char>(byte))); }
