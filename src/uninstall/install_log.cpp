#include "uninstall/install_log.h"

#include <cstring>

namespace {

struct KindPrefix {
  LogKind kind;
  const char* prefix;
};
// The one place the prefixes are written. No prefix begins another, so the
// order does not decide anything.
constexpr KindPrefix kKindPrefixes[] = {
    {LogKind::FileCopy, "File Copy: "},         {LogKind::FileCopyX64, "File Copy x64: "},
    {LogKind::FileCopyInd, "File Copy ind: "},  {LogKind::FileOverwrite, "File Overwrite: "},
    {LogKind::FileDel, "File Del: "},           {LogKind::MakeDir, "Make Dir: "},
    {LogKind::MadeDir, "Made Dir: "},           {LogKind::ShortcutLink, "Shell Link: "},
};

// Strips trailing bytes with codes 1..32 from a zero-terminated line, never
// the first byte.
void StripLineEnd(char* line) {
  if (!line) return;
  // Unsigned: bytes of 128 and above are characters, not control codes.
  for (std::size_t pos = std::strlen(line); pos > 1; --pos) {
    const unsigned char byte = static_cast<unsigned char>(line[pos - 1]);
    if (byte > 32) break;
    line[pos - 1] = '\0';
  }
}

// The kind and operand of `line`: the first prefix that begins it exactly.
LogEntry ParseLogLine(const char* line) {
  LogEntry entry;
  if (!line) return entry;
  entry.line = entry.operand = line;
  for (const KindPrefix& each : kKindPrefixes) {
    const std::size_t length = std::strlen(each.prefix);
    if (std::strncmp(line, each.prefix, length) != 0) continue;
    entry.kind = each.kind;
    entry.operand = line + length;
    entry.prefixLength = length;
    break;
  }
  return entry;
}

}  // namespace

bool IsFileKind(LogKind kind) {
  return kind == LogKind::FileCopy || kind == LogKind::FileCopyX64 || kind == LogKind::FileCopyInd ||
         kind == LogKind::FileOverwrite || kind == LogKind::FileDel;
}


LogReader::LogReader(const char* path) {
  // Binary: a text-mode stream of the Windows C runtime ends at a Ctrl-Z
  // byte, so one stray byte in a package's script would hide every entry
  // after it, the installer's own "Made Dir: " and "Shell Link: " lines
  // included. The line ends need no translation: the CR before a line feed is
  // stripped like any trailing control byte.
  if (path) file_.reset(std::fopen(path, "rb"));
}

bool LogReader::Next() {
  if (!file_ || !std::fgets(line_, sizeof line_, file_.get())) {
    line_[0] = '\0';
    return false;
  }
  line_[kLineBuffer - 1] = '\0';
  StripLineEnd(line_);
  return true;
}

bool LogReader::NextEntry(LogEntry& entry) {
  const bool read = Next();
  entry = ParseLogLine(line_);
  return read;
}

void LogReader::Rewind() {
  if (file_) std::rewind(file_.get());
  line_[0] = '\0';
}

bool AppendLogLine(const char* logPath, const char* text) {
  if (!logPath) return false;
  // Text mode: the line feed is written as CR LF.
  UniqueFile file(std::fopen(logPath, "at"));
  if (!file) return false;
  bool written = std::fputs(text ? text : "", file.get()) >= 0;
  written = std::fputc('\n', file.get()) != EOF && written;
  return std::fclose(file.release()) == 0 && written;
}

bool AppendLogEntry(const char* logPath, LogKind kind, const std::string& operand) {
  for (const KindPrefix& each : kKindPrefixes)
    if (each.kind == kind) return AppendLogLine(logPath, (each.prefix + operand).c_str());
  return false;
}
