// The rules applied to a line of an install script or uninstall log: the file
// spec of a file kind (" | " cut, renaming pair's target), the guard that
// keeps a name inside the installed folder, the bounded join, the installer's
// copy operand, shortcut names and the walk up a "Made Dir: " folder; under
// code pages 1252 and 932.
#include <cstring>
#include <string>

#include "common/bounded_path.h"
#include "common/codepage.h"
#include "common/text.h"
#include "engine/copy_operand.h"
#include "fuzz_input.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"

namespace {

const char* const kPrefixes[] = {"File Copy: ", "File Copy x64: ", "File Copy ind: ", "File Overwrite: ", "File Del: ",
                                 "Make Dir: ", "Made Dir: ", "Shell Link: "};

constexpr char kInstalledFolder[] = "C:\\Program Files (x86)\\Orvelle 6";

// True when a component reads as the parent folder: dots and blanks only,
// with two dots or more (the file system drops trailing dots and blanks).
bool IsParentComponent(const std::string& component) {
  std::size_t dots = 0;
  for (char c : component) {
    if (c != '.' && c != ' ') return false;
    if (c == '.') ++dots;
  }
  return dots >= 2;
}

// The deepest a relative name climbs above its folder when EVERY "\" and "/"
// byte separates, even one that follows a lead byte: what a system sees that
// splits a lead byte from a byte it does not take as a trail byte. 0 when it
// never leaves the folder.
int ClimbsAboveFolder(const std::string& name) {
  int depth = 0;
  int lowest = 0;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos <= name.size(); ++pos) {
    if (pos < name.size() && name[pos] != '\\' && name[pos] != '/') continue;
    const std::string component = name.substr(start, pos - start);
    start = pos + 1;
    if (IsParentComponent(component)) {
      --depth;
    } else if (component.find_first_not_of(". ") != std::string::npos) {
      ++depth;
    }
    if (depth < lowest) lowest = depth;
  }
  return -lowest;
}

void CheckInsideGuard(const std::string& name) {
  if (!StaysInsideFolder(name)) return;
  FUZZ_CHECK(!name.empty() && name[0] != '\\' && name[0] != '/');
  FUZZ_CHECK(name.size() < 2 || name[1] != ':');
  FUZZ_CHECK(ClimbsAboveFolder(name) == 0);
  const std::string joined = JoinBoundedPath(kInstalledFolder, name);
  FUZZ_CHECK(joined.empty() || (FitsPathLimit(joined) && joined.compare(0, sizeof kInstalledFolder - 1,
                                                                          kInstalledFolder) == 0));
}

void CheckFileSpec(const std::string& line, std::size_t prefixLength) {
  const std::string spec = FileSpecOf(line, prefixLength);
  if (spec.empty()) return;
  FUZZ_CHECK(line.size() >= prefixLength && spec.size() <= line.size() - prefixLength);
  FUZZ_CHECK(line.find(spec, prefixLength) != std::string::npos);
  FUZZ_CHECK(spec.find(kLogRemarkSeparator) == std::string::npos);
  CheckInsideGuard(spec);
}

bool IsWhiteSpace(char c) { return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr; }

// The installer's split: a pattern verbatim, or the pair around the first
// ">" without the white space next to it.
void CheckCopyOperand(const std::string& operand) {
  const CopyOperand split = SplitCopyOperand(operand);
  const std::size_t arrow = FindFirstChar(operand, '>');
  FUZZ_CHECK(split.renamed == (arrow != std::string::npos));
  if (!split.renamed) {
    FUZZ_CHECK(split.name == operand && split.newName.empty());
    FUZZ_CHECK(ProbedLibraryName(operand).size() <= operand.size());
    return;
  }
  FUZZ_CHECK(operand.compare(0, split.name.size(), split.name) == 0);
  FUZZ_CHECK(operand.compare(operand.size() - split.newName.size(), split.newName.size(), split.newName) == 0);
  FUZZ_CHECK(split.name.size() <= arrow && split.newName.size() < operand.size() - arrow);
  FUZZ_CHECK(ProbedLibraryName(operand) == split.name);
  FUZZ_CHECK(split.newName.empty() || !IsWhiteSpace(split.newName[0]));
  // In a double-byte code page the last byte may be a trail byte of any value.
  if (AnsiCodePage() == 1252) FUZZ_CHECK(split.name.empty() || !IsWhiteSpace(split.name.back()));
}

void CheckMadeDirWalk(const std::string& folder) {
  std::size_t steps = 0;
  for (std::string at = folder; !at.empty() && FitsPathLimit(at); at = ParentFolder(at)) FUZZ_CHECK(++steps <= 260);
}

}  // namespace

// Input: code-page byte, prefix byte, then the argument of the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = TakeCodePage(data, size);
  if (input.empty()) return 0;
  const unsigned char selector = static_cast<unsigned char>(input[0]);
  const std::string argument = input.substr(1);
  const char* prefix = kPrefixes[selector % (sizeof kPrefixes / sizeof kPrefixes[0])];
  const std::size_t prefixLength = std::strlen(prefix);

  CheckFileSpec(prefix + argument, prefixLength);
  CheckFileSpec(argument, selector % 24u);  // any length, also past the line's end
  CheckInsideGuard(argument);
  CheckCopyOperand(argument);
  CheckMadeDirWalk(argument);
  const bool shortcut = IsShortcutName(argument.c_str());
  FUZZ_CHECK(!shortcut || std::strlen(argument.c_str()) >= 4);
  const std::string joined = JoinBoundedPath(argument, argument);
  FUZZ_CHECK(joined.empty() || FitsPathLimit(joined));
  return 0;
}
