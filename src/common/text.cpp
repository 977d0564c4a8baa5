#include "common/text.h"

#include <cctype>
#include <cstring>

#include "common/codepage.h"

namespace {

constexpr char kSeparators[] = " \t\r\n\\";
constexpr char kWhiteSpace[] = " \t\n\v\f\r";

// Bytes taken by the character at `pos`: 2 for a lead byte followed by its
// trail byte, 1 otherwise (a lead byte at the end, or before a zero, has no
// trail byte and stands alone).
std::size_t CharSize(const std::string& text, std::size_t pos) {
  if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
      text[pos + 1] != '\0') {
    return 2;
  }
  return 1;
}

// True when the single-byte character at `pos` belongs to `set`.
bool InSet(const std::string& text, std::size_t pos, const char* set) {
  return text[pos] != '\0' && std::strchr(set, text[pos]) != nullptr;
}

// Removes the leading and/or trailing run of characters of `set`. The walk
// goes forwards only: backwards a trail byte cannot be told from a
// single-byte character.
std::string& TrimSet(std::string& text, TrimEnd ends, const char* set) {
  const bool start = (static_cast<int>(ends) & static_cast<int>(TrimEnd::Start)) != 0;
  const bool end = (static_cast<int>(ends) & static_cast<int>(TrimEnd::End)) != 0;
  if (start) {
    std::size_t pos = 0;
    while (pos < text.size() && CharSize(text, pos) == 1 && InSet(text, pos, set)) ++pos;
    text.erase(0, pos);
  }
  if (end) {
    std::size_t runStart = std::string::npos;  // start of the current run
    for (std::size_t pos = 0; pos < text.size();) {
      const std::size_t size = CharSize(text, pos);
      if (size == 1 && InSet(text, pos, set)) {
        if (runStart == std::string::npos) runStart = pos;
      } else {
        runStart = std::string::npos;
      }
      pos += size;
    }
    if (runStart != std::string::npos) text.erase(runStart);
  }
  return text;
}

}  // namespace

int NormalizeSlashes(std::string& text) {
  int count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharSize(text, pos)) {
    if (CharSize(text, pos) == 1 && text[pos] == '/') {
      text[pos] = '\\';
      ++count;
    }
  }
  return count;
}

std::string& TrimSeparators(std::string& text, TrimEnd ends) { return TrimSet(text, ends, kSeparators); }

std::string& TrimBlanks(std::string& text, TrimEnd ends) { return TrimSet(text, ends, kWhiteSpace); }

std::string& ToLower(std::string& text) {
  // A lead byte and its trail byte stay as they are; a lead byte at the very
  // end has no trail byte and stays as well.
  for (std::size_t pos = 0; pos < text.size(); pos += CharSize(text, pos)) {
    if (!IsLeadByte(static_cast<unsigned char>(text[pos]))) text[pos] = LowerSingleByte(text[pos]);
  }
  return text;
}

std::string PathKey(std::string path) { return ToLower(path); }

std::size_t FindFirstChar(const std::string& text, char ch) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = CharSize(text, pos);
    if (size == 1 && text[pos] == ch) return pos;
    pos += size;
  }
  return std::string::npos;
}

std::size_t FindLastChar(const std::string& text, char ch) {
  std::size_t found = std::string::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = CharSize(text, pos);
    if (size == 1 && text[pos] == ch) found = pos;
    pos += size;
  }
  return found;
}

std::string FolderPart(const std::string& path) {
  const std::size_t pos = FindLastChar(path, '\\');
  return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string NamePart(const std::string& path) {
  const std::size_t pos = FindLastChar(path, '\\');
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ParentFolder(const char* path) {
  if (!path) return std::string();
  std::string text = path;
  // One trailing backslash is ignored; it must be a character of its own, not
  // the trail byte of the last character.
  std::size_t last = std::string::npos;
  for (std::size_t pos = 0; pos < text.size(); pos += CharSize(text, pos)) last = pos;
  if (last != std::string::npos && last + 1 == text.size() && text[last] == '\\') text.erase(last);
  const std::size_t pos = FindLastChar(text, '\\');
  if (pos == std::string::npos || pos == 0) return std::string();
  return text.substr(0, pos);
}

std::size_t FindLastSeparator(const std::string& text) {
  const std::size_t backslash = FindLastChar(text, '\\');
  const std::size_t slash = FindLastChar(text, '/');
  if (backslash == std::string::npos) return slash;
  if (slash == std::string::npos) return backslash;
  return backslash > slash ? backslash : slash;
}

bool HasDriveAt(const std::string& text, std::size_t at) {
  if (text.size() < at + 2 || text[at + 1] != ':') return false;
  const char letter = text[at];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

bool IsWithinFolder(const std::string& path, const std::string& folder) {
  std::string inner = path;
  std::string outer = folder;
  NormalizeSlashes(inner);
  NormalizeSlashes(outer);
  TrimSeparators(outer, TrimEnd::End);
  if (outer.empty()) return false;
  inner = PathKey(inner);
  outer = PathKey(outer);
  // Equal bytes up to the folder's end: the next byte starts a character.
  return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == '\\');
}

bool IsFullPath(const std::string& path) {
  return (HasDriveAt(path) && path.size() > 2 && path[2] == '\\') || path.compare(0, 2, "\\\\") == 0;
}

bool SwitchEquals(const std::string& argument, const char* name) {
  std::size_t i = 0;
  for (; name[i]; ++i) {
    if (i >= argument.size()) return false;
    if (std::tolower(static_cast<unsigned char>(argument[i])) != std::tolower(static_cast<unsigned char>(name[i])))
      return false;
  }
  return i == argument.size();
}
