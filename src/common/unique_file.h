// C streams that close themselves. Portable (no <windows.h>): the log format's
// reader is built natively too.
#pragma once
#include <cstdio>
#include <memory>

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A stream from std::fopen, closed when the object goes; null when the file
// did not open. To see the result of the close, close it through release().
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;
