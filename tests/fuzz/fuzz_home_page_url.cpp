// The query of "HomePage.url" on any file: it begins with "?", holds no line
// end at its end, fits one 259-byte piece, and is found in the file.
#include <string>

#include "driver/home_page_url.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = TakeCodePage(data, size);
  const std::string path = WriteInputFile(bytes);
  if (path.empty()) return 0;
  const std::string query = ReadHomePageQuery(path);
  if (query.empty()) return 0;
  FUZZ_CHECK(query[0] == '?');
  FUZZ_CHECK(query.back() != '\n' && query.back() != '\r');
  // "URL=http://" takes 11 bytes of the piece, so at most 248 are left.
  FUZZ_CHECK(query.size() <= 259 - 11);
  FUZZ_CHECK(bytes.find("URL=http://") != std::string::npos && bytes.find(query) != std::string::npos);
  return 0;
}
