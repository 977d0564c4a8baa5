#include "uninstall/file_entry.h"

#include <algorithm>
#include <cstring>

#include "common/names.h"
#include "common/text.h"
#include "uninstall/install_log.h"

namespace {

// A component made of dots and blanks only, with two dots or more: the file
// system reads it as the parent folder.
bool ClimbsOut(const std::string& component) {
  return component.find_first_not_of(". ") == std::string::npos &&
         std::count(component.begin(), component.end(), '.') >= 2;
}

}  // namespace

std::string FileSpecOf(const std::string& line, std::size_t prefixLength) {
  if (line.size() < prefixLength) return std::string();
  const std::size_t cut = line.find(kLogRemarkSeparator);
  // A remark that starts inside the prefix (at its own trailing blank)
  // leaves no spec at all.
  if (cut != std::string::npos && cut <= prefixLength) return std::string();
  std::string spec = line.substr(prefixLength, cut == std::string::npos ? cut : cut - prefixLength);
  const std::size_t arrow = FindFirstChar(spec, '>');
  if (arrow != std::string::npos) {
    spec.erase(0, arrow + 1);
    TrimBlanks(spec, TrimEnd::Start);
  }
  return spec;
}

bool StaysInsideFolder(std::string name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  NormalizeSlashes(name);
  for (;;) {
    const std::size_t separator = FindFirstChar(name, '\\');
    if (ClimbsOut(name.substr(0, separator))) return false;
    if (separator == std::string::npos) return true;
    name.erase(0, separator + 1);
  }
}

bool IsShortcutName(const char* path) {
  if (!path) return false;
  // ".lnk" holds no byte that could be a trail byte: a byte-wise look at the
  // end is enough.
  const std::size_t length = std::strlen(path);
  const std::size_t extension = sizeof names::kShortcutExtension - 1;
  if (length < extension) return false;
  std::string tail(path + length - extension);
  return ToLower(tail) == names::kShortcutExtension;
}
