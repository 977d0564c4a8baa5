#include "fuzz_input.h"

#include <unistd.h>

#include "common/codepage.h"
#include "common/codepage_native.h"

namespace {

// A file in the temporary folder, named after the process, removed at exit.
class InputFile {
 public:
  InputFile() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base && *base ? base : "/tmp") + "/orvfuzz-" + std::to_string(getpid()) + ".txt";
  }
  ~InputFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

std::string TakeCodePage(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    SetNativeCodePage(1252);
    return std::string();
  }
  SetNativeCodePage((data[0] & 1) ? 932 : 1252);
  return std::string(reinterpret_cast<const char*>(data + 1), size - 1);
}

std::string WriteInputFile(const std::string& bytes) {
  static InputFile file;
  std::FILE* stream = std::fopen(file.Path().c_str(), "wb");
  if (!stream) return std::string();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  return std::fclose(stream) == 0 && written ? file.Path() : std::string();
}

bool IsCharBoundary(const std::string& text, std::size_t pos) {
  std::size_t at = 0;
  while (at < pos && at < text.size()) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() && text[at + 1] != '\0';
    at += pair ? 2 : 1;
  }
  return at == pos;
}
