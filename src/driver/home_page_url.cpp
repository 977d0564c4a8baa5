#include "driver/home_page_url.h"

#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "common/unique_file.h"

namespace {

constexpr char kUrlLinePrefix[] = "URL=http://";
// Pieces of at most 259 bytes and the terminator.
constexpr int kUrlPieceBuffer = 260;

}  // namespace

std::string ReadHomePageQuery(const std::string& urlFilePath) {
  std::string query;
  UniqueFile file(std::fopen(urlFilePath.c_str(), "rt"));
  if (!file) return query;
  char piece[kUrlPieceBuffer];
  while (std::fgets(piece, sizeof piece, file.get())) {
    if (std::strncmp(piece, kUrlLinePrefix, sizeof kUrlLinePrefix - 1) != 0) continue;
    const std::string line = piece;
    const std::size_t mark = FindFirstChar(line, '?');
    if (mark != std::string::npos) query = line.substr(mark);
    // The line end is not part of the address.
    while (!query.empty() && (query.back() == '\n' || query.back() == '\r')) query.pop_back();
    break;
  }
  return query;
}
