#include "uninstall/install_log.h"

#include <cstring>
#include <memory>

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

LogReader::LogReader(const char* path) {
  // Binary: a text-mode stream of the Windows C runtime ends at a Ctrl-Z
  // byte, so one stray byte in a package's script would hide every entry
  // after it, the installer's own "Made Dir: " and "Shell Link: " lines
  // included. The line ends need no translation: the CR before a line feed is
  // stripped like any trailing control byte.
  if (path) file_ = std::fopen(path, "rb");
}

LogReader::~LogReader() {
  if (file_) std::fclose(file_);
}

bool LogReader::Next() {
  if (!file_ || !std::fgets(line_, sizeof line_, file_)) {
    line_[0] = '\0';
    return false;
  }
  line_[kLineBuffer - 1] = '\0';
  StripLineEnd(line_);
  return true;
}

const char* LogReader::Argument(const char* prefix) const {
  if (!prefix) return nullptr;
  const std::size_t length = std::strlen(prefix);
  return std::strncmp(line_, prefix, length) == 0 ? line_ + length : nullptr;
}

void LogReader::Rewind() {
  if (file_) std::rewind(file_);
  line_[0] = '\0';
}

void StripLineEnd(char* line) {
  if (!line) return;
  // Unsigned: bytes of 128 and above are characters, not control codes.
  for (std::size_t pos = std::strlen(line); pos > 1; --pos) {
    const unsigned char byte = static_cast<unsigned char>(line[pos - 1]);
    if (byte > 32) break;
    line[pos - 1] = '\0';
  }
}

bool AppendLogLine(const char* logPath, const char* text) {
  if (!logPath) return false;
  // Text mode: the line feed is written as CR LF.
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(logPath, "at"));
  if (!file) return false;
  bool written = std::fputs(text ? text : "", file.get()) >= 0;
  written = std::fputc('\n', file.get()) != EOF && written;
  return std::fclose(file.release()) == 0 && written;
}
