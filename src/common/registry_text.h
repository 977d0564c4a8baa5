// The rule by which a registry value read through the fixed 260-byte buffer
// becomes a text. Portable: no registry access here.
#pragma once
#include <cstddef>
#include <string>

// The bytes of `buffer` up to its first zero; the empty text when the `size`
// bytes hold no zero (a value of 260 characters or more, too long for a path
// and never cut into a shorter one) or `buffer` is null. The caller clears
// the buffer before the read, so shorter data of any type is terminated.
std::string RegistryTextOf(const char* buffer, std::size_t size);
