// The one log reader on any file: pieces of at most 511 bytes, trailing bytes
// 1..32 stripped but never the first, prefixes matched at the start, the same
// lines again after a rewind; and every line handed to the rules that read
// it (file specs, the inside guard, copy operands, shortcut groups).
#include <cstring>
#include <string>
#include <vector>

#include "common/bounded_path.h"
#include "driver/shortcut_group.h"
#include "engine/copy_operand.h"
#include "fuzz_input.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"

namespace {

const char* const kAllPrefixes[] = {"File Copy: ", "File Copy x64: ", "File Copy ind: ", "File Overwrite: ",
                                    "File Del: ", "Make Dir: ", "Made Dir: ", "Shell Link: "};
// The kind each of those prefixes names, in the same order.
const LogKind kAllKinds[] = {LogKind::FileCopy, LogKind::FileCopyX64, LogKind::FileCopyInd, LogKind::FileOverwrite,
                             LogKind::FileDel,  LogKind::MakeDir,     LogKind::MadeDir,     LogKind::ShortcutLink};
const char* const kFileKinds[] = {"File Copy: ", "File Copy x64: ", "File Copy ind: ", "File Overwrite: ",
                                  "File Del: "};
const char* const kCopyKinds[] = {"File Copy: ", "File Copy x64: ", "File Copy ind: "};

void ApplyRules(const char* line) {
  for (const char* kind : kFileKinds) {
    if (std::strncmp(line, kind, std::strlen(kind)) != 0) continue;
    const std::string spec = FileSpecOf(line, std::strlen(kind));
    if (StaysInsideFolder(spec)) JoinBoundedPath("C:\\Orvelle 6", spec);
  }
  for (const char* kind : kCopyKinds) {
    if (std::strncmp(line, kind, std::strlen(kind)) != 0) continue;
    const std::string operand = line + std::strlen(kind);
    const CopyOperand split = SplitCopyOperand(operand);
    FUZZ_CHECK(split.renamed || split.name == operand);
    FUZZ_CHECK(split.name.size() + split.newName.size() < operand.size() + (split.renamed ? 0 : 1));
    ProbedLibraryName(operand);
  }
  static const ShortcutFolders folders = PrepareShortcutFolders("C:\\Menu\\Programs", "C:\\Menu\\Programs\\StartUp");
  if (std::strncmp(line, "Shell Link: ", std::strlen("Shell Link: ")) == 0) {
    const char* link = line + std::strlen("Shell Link: ");
    IsShortcutName(link);
    std::string group;
    if (ShortcutGroupOf(link, folders, &group)) FUZZ_CHECK(group.size() < std::strlen(link));
  }
}

std::vector<std::string> ReadAll(LogReader& log) {
  std::vector<std::string> lines;
  LogEntry entry;
  while (log.NextEntry(entry)) {
    const char* line = log.Line();
    const std::size_t length = std::strlen(line);
    FUZZ_CHECK(length < LogReader::kLineBuffer);
    // Stripped: a line longer than one byte never ends in a byte 1..32.
    FUZZ_CHECK(length <= 1 || static_cast<unsigned char>(line[length - 1]) > 32);
    // The kind of the prefix that begins the line, and the operand directly
    // after it; none of any other.
    for (std::size_t i = 0; i < sizeof kAllKinds / sizeof kAllKinds[0]; ++i) {
      const std::size_t prefixLength = std::strlen(kAllPrefixes[i]);
      const bool begins = std::strncmp(line, kAllPrefixes[i], prefixLength) == 0;
      FUZZ_CHECK((entry.kind == kAllKinds[i]) == begins);
      if (begins) FUZZ_CHECK(entry.operand == line + prefixLength);
    }
    ApplyRules(line);
    lines.push_back(line);
  }
  FUZZ_CHECK(log.Line()[0] == '\0');
  FUZZ_CHECK(entry.kind == LogKind::None);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = TakeCodePage(data, size);
  const std::string path = WriteInputFile(bytes);
  if (path.empty()) return 0;
  LogReader log(path.c_str());
  FUZZ_CHECK(log.IsOpen());
  const std::vector<std::string> first = ReadAll(log);
  // Every piece holds at least one byte of the file.
  FUZZ_CHECK(first.size() <= bytes.size());
  log.Rewind();
  FUZZ_CHECK(ReadAll(log) == first);
  return 0;
}
