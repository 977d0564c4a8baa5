#include "driver/version_value.h"

#include <cstdio>

std::uint32_t VersionValue(const FileVersion& version) {
  // Unsigned 32-bit arithmetic wraps modulo 2^32, as the comparison requires.
  std::uint32_t value = version.major;
  value = value * 100u + version.minor;
  value = value * 100u + version.third;
  value = value * 100u + version.fourth;
  return value;
}

std::string VersionText(const FileVersion& version) {
  char text[48];
  std::snprintf(text, sizeof text, "%u.%02u.%02u.%02u", version.major, version.minor, version.third, version.fourth);
  return text;
}
