// What the fuzz targets share: the code page an input asks for, a file for
// the readers that take a path, and the check that ends the run with a report
// when a rule's promise is broken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Ends the run (libFuzzer then keeps the input as a crash) when `condition`
// does not hold.
#define FUZZ_CHECK(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// The input after its first byte, whose lowest bit chooses the code page:
// 932 (Shift-JIS) when set, 1252 otherwise. Empty input: 1252, no text.
std::string TakeCodePage(const std::uint8_t* data, std::size_t size);

// Writes `bytes` to this process's input file and returns its path (the same
// file every time, removed when the process ends); empty when it could not be
// written.
std::string WriteInputFile(const std::string& bytes);

// True when `pos` is the start of a character of `text` (double-byte aware,
// as the text helpers walk it), or its end.
bool IsCharBoundary(const std::string& text, std::size_t pos);
