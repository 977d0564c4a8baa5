// The package's internet shortcut "HomePage.url": only the query of its
// "URL=http://" line is used. Portable: C streams only.
#pragma once
#include <string>

// The query of the internet shortcut: at the first line (read in pieces of at
// most 259 bytes) that begins with "URL=http://", the text from its first "?"
// to the end of the line, the line end removed. Empty when the file does not
// open, has no such line or the line has no "?".
std::string ReadHomePageQuery(const std::string& urlFilePath);
