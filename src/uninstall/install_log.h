// The one line format shared by the install script, the uninstall log and the
// older "install.log": ANSI text, one entry per line, recognised by an exact,
// case-sensitive prefix in the first column. Portable: plain C streams.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

#include "common/unique_file.h"

// Separator of a remark after a file spec (cut by the removal passes only).
inline constexpr char kLogRemarkSeparator[] = " | ";

// The kinds of entry, one for each prefix; None for any other line (a
// comment, an empty line, a misspelt prefix).
enum class LogKind {
  None,
  FileCopy,       // "File Copy: "
  FileCopyX64,    // "File Copy x64: "
  FileCopyInd,    // "File Copy ind: "
  FileOverwrite,  // "File Overwrite: "
  FileDel,        // "File Del: "
  MakeDir,        // "Make Dir: "
  MadeDir,        // "Made Dir: "
  ShortcutLink,   // "Shell Link: "
};

// True for the five kinds that name files: the copies, the overwrite and the
// deletion.
bool IsFileKind(LogKind kind);

// One line, parsed. The operand is the text after the prefix as read: the
// installer keeps a remark after " | " (the copy reads it as part of the
// name), the removal cuts it (FileSpecOf, file_entry.h, from the line and
// the prefix's length).
struct LogEntry {
  LogKind kind = LogKind::None;
  const char* line = "";      // the whole line
  const char* operand = "";   // after the prefix; the whole line for None
  std::size_t prefixLength = 0;
};

// Reads a log by the shared rules: pieces of at most 511 bytes (a longer line
// goes on as a further piece), trailing bytes 1..32 stripped but never the
// first byte of a piece. The file is open for the reader's lifetime only.
class LogReader {
 public:
  static constexpr std::size_t kLineBuffer = 512;

  // Opens the file for reading (bytes as they are, a Ctrl-Z included); a file
  // that does not open reads as empty.
  explicit LogReader(const char* path);
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }

  // Reads the next piece into the line buffer; false at the end of the file.
  bool Next();

  // The walk every reader of the format makes: Next(), with the line parsed
  // into `entry` (valid until the next read).
  bool NextEntry(LogEntry& entry);

  // The current line after stripping; "" before the first Next().
  const char* Line() const { return line_; }

  // Back to the first line, for the next pass.
  void Rewind();

 private:
  UniqueFile file_;
  char line_[kLineBuffer] = {};
};

// Appends `text` and a line end to the log: one open, write and close. False
// when the file does not open (the entry is then dropped).
bool AppendLogLine(const char* logPath, const char* text);

// Appends the entry of `kind` with `operand` after its prefix, as above.
bool AppendLogEntry(const char* logPath, LogKind kind, const std::string& operand);
