// The value by which two versions of the application are compared.
// Portable: plain arithmetic.
#pragma once
#include <cstdint>
#include <string>

#include "driver/install_options.h"

// ((major x 100 + minor) x 100 + third) x 100 + fourth, modulo 2^32. Versions
// are compared only by this value: a part of 100 or more spills into the
// next higher one.
std::uint32_t VersionValue(const FileVersion& version);

// The version as shown to the user: "%u.%02u.%02u.%02u" (6.01.02.03).
std::string VersionText(const FileVersion& version);
