#include "common/registry_text.h"

#include <cstring>

std::string RegistryTextOf(const char* buffer, std::size_t size) {
  if (!buffer) return std::string();
  const void* end = std::memchr(buffer, '\0', size);
  if (!end) return std::string();
  return std::string(buffer, static_cast<std::size_t>(static_cast<const char*>(end) - buffer));
}
