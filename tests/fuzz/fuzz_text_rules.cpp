// The text and path helpers on any text, under code pages 1252 and 932: what
// each promises about its result, and that no character is ever split.
#include <string>

#include "common/text.h"
#include "fuzz_input.h"

namespace {

// The trimmed text is the text without a leading and/or a trailing run, and
// nothing is left to trim.
void CheckTrims(const std::string& text) {
  for (TrimEnd ends : {TrimEnd::Start, TrimEnd::End, TrimEnd::Both}) {
    std::string separators = text;
    std::string blanks = text;
    TrimSeparators(separators, ends);
    TrimBlanks(blanks, ends);
    for (const std::string* trimmed : {&separators, &blanks}) {
      FUZZ_CHECK(trimmed->size() <= text.size());
      if (ends == TrimEnd::End) FUZZ_CHECK(text.compare(0, trimmed->size(), *trimmed) == 0);
      if (ends == TrimEnd::Start)
        FUZZ_CHECK(text.compare(text.size() - trimmed->size(), trimmed->size(), *trimmed) == 0);
      if (ends == TrimEnd::Both) FUZZ_CHECK(text.find(*trimmed) != std::string::npos);
    }
    std::string again = separators;
    FUZZ_CHECK(TrimSeparators(again, ends) == separators);
    again = blanks;
    FUZZ_CHECK(TrimBlanks(again, ends) == blanks);
  }
}

void CheckPathParts(const std::string& path) {
  const std::size_t last = FindLastChar(path, '\\');
  const std::string folder = FolderPart(path);
  const std::string name = NamePart(path);
  if (last == std::string::npos) {
    FUZZ_CHECK(folder.empty() && name == path);
  } else {
    FUZZ_CHECK(path[last] == '\\' && IsCharBoundary(path, last));
    FUZZ_CHECK(folder + "\\" + name == path);
  }
  const std::size_t first = FindFirstChar(path, '\\');
  FUZZ_CHECK((first == std::string::npos) == (last == std::string::npos));
  FUZZ_CHECK(first == std::string::npos || (first <= last && IsCharBoundary(path, first)));
  const std::size_t separator = FindLastSeparator(path);
  FUZZ_CHECK(separator == std::string::npos || separator >= last || last == std::string::npos);

  // Each step up is shorter, so the walk up the parents always ends.
  std::string parent = ParentFolder(path);
  FUZZ_CHECK(parent.empty() || (parent.size() < path.size() && path.compare(0, parent.size(), parent) == 0));
  std::size_t steps = 0;
  for (std::string at = path; !at.empty(); at = ParentFolder(at)) FUZZ_CHECK(++steps <= path.size() + 1);
}

void CheckNormalizeAndLower(const std::string& text) {
  std::string normal = text;
  const int replaced = NormalizeSlashes(normal);
  FUZZ_CHECK(normal.size() == text.size());
  FUZZ_CHECK(replaced >= 0 && static_cast<std::size_t>(replaced) <= text.size());
  FUZZ_CHECK(FindFirstChar(normal, '/') == std::string::npos);
  std::string twice = normal;
  FUZZ_CHECK(NormalizeSlashes(twice) == 0 && twice == normal);

  std::string lower = text;
  ToLower(lower);
  FUZZ_CHECK(lower.size() == text.size());
  std::string again = lower;
  FUZZ_CHECK(ToLower(again) == lower);
  // Double-byte characters stay as they are; only single bytes change.
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (lower[pos] == text[pos]) continue;
    FUZZ_CHECK(IsCharBoundary(text, pos) && IsCharBoundary(text, pos + 1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = TakeCodePage(data, size);
  CheckTrims(text);
  CheckPathParts(text);
  CheckNormalizeAndLower(text);
  ParentFolder(static_cast<const char*>(nullptr));
  return 0;
}
