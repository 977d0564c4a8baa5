#include "common/bounded_path.h"

#include "common/text.h"

std::string JoinBoundedPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  // Character-wise: in a double-byte code page a folder may end with a
  // character whose trail byte is the backslash code; it still needs one.
  const std::size_t last = path.size() - 1;
  const bool endsWithSeparator = !path.empty() && (FindLastChar(path, '\\') == last || FindLastChar(path, '/') == last);
  if (!path.empty() && !endsWithSeparator) path += '\\';
  path += name;
  return FitsPathLimit(path) ? path : std::string();
}
