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

std::vector<std::string> OuterLevels(const std::string& root, const std::string& relative) {
  std::vector<std::string> levels;
  // After a single-byte backslash the rest starts on a character boundary.
  for (std::size_t offset = 0;;) {
    const std::size_t found = FindFirstChar(relative.substr(offset), '\\');
    if (found == std::string::npos) return levels;
    const std::size_t end = offset + found;
    if (end > 0) levels.push_back(JoinBoundedPath(root, relative.substr(0, end)));
    offset = end + 1;
  }
}
