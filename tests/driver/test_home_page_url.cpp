// The query of the package's internet shortcut "HomePage.url", on real files.
// Portable: also built natively with the sanitizers.
#include <string>

#include "driver/home_page_url.h"
#include "gtest/gtest.h"
#include "support/scratch_folder.h"

namespace {

TEST(HomePageQueryTest, QueryOfTheFirstHttpUrlLine) {
  struct Case { const char* name; std::string content; const char* expected; };
  const Case cases[] = {
      {"CR LF line end removed", "[InternetShortcut]\r\nURL=http://h/p?a=1&b=2\r\n", "?a=1&b=2"},
      {"LF line end removed", "URL=http://h/p?a=1&b=2\n", "?a=1&b=2"},
      {"no line end", "URL=http://h/p?a=1", "?a=1"},
      {"from the first ?", "URL=http://h/p?a=1?b=2\r\n", "?a=1?b=2"},
      {"no ?", "URL=http://h/p\r\n", ""},
      {"the first line decides", "URL=http://h/p\r\nURL=http://h/p?late=1\r\n", ""},
      {"prefix case", "url=http://h/p?a=1\r\n", ""},
      {"other scheme skipped", "URL=https://h/p?s=1\r\nURL=http://h/p?a=1\r\n", "?a=1"},
      {"blank before prefix", " URL=http://h/p?a=1\r\n", ""},
      {"empty file", "", ""},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Write("HomePage.url", c.content);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(ReadHomePageQuery(path), c.expected);
  }
  EXPECT_EQ(ReadHomePageQuery(folder.File("missing.url")), "");
  EXPECT_EQ(ReadHomePageQuery(""), "");
}

TEST(HomePageQueryTest, LineReadInPiecesOf259Bytes) {
  ScratchFolder folder;
  // The "?" lies beyond the first piece: the piece holding it does not begin
  // with the prefix.
  const std::string longPath(300, 'p');
  EXPECT_EQ(ReadHomePageQuery(folder.Write("HomePage.url", "URL=http://h/" + longPath + "?a=1\r\n")), "");
  // A query cut by the end of the piece is taken as far as it was read.
  const std::string longQuery = "?" + std::string(300, 'q');
  EXPECT_EQ(ReadHomePageQuery(folder.Write("HomePage.url", "URL=http://h/" + longQuery + "\r\n")),
            longQuery.substr(0, 259 - 13));
}

// Pieces of at most 259 bytes: a line of 258 or 259 bytes is one piece, with
// its line end in a piece of its own; one of 260 or 261 goes on into a second
// piece, which the query does not reach.
TEST(HomePageQueryTest, LineAt258To261Bytes) {
  ScratchFolder folder;
  const std::string head = "URL=http://h/p?";
  for (std::size_t length : {258u, 259u, 260u, 261u}) {
    SCOPED_TRACE(length);
    const std::string line = head + std::string(length - head.size(), 'q');
    const std::string path = folder.Write("HomePage.url", line + "\r\n");
    ASSERT_FALSE(path.empty());
    const std::string query = ReadHomePageQuery(path);
    const std::size_t read = length < 259 ? length : 259;
    EXPECT_EQ(query, line.substr(head.size() - 1, read - head.size() + 1));
  }
}

}  // namespace
