// Paths joined from log entries and registry values. A path that would not fit
// the system limit (259 characters and the terminator) is refused, never cut:
// a cut path names another file.
#pragma once
#include <string>
#include <vector>

#include "common/names.h"

// True when `path` fits the system limit.
inline bool FitsPathLimit(const std::string& path) { return path.size() < kMaxPath; }

// `folder` and `name` with a backslash between them, none added when the
// folder is empty or already ends with a "\" or "/" character. Empty when the
// result would not fit the limit.
std::string JoinBoundedPath(const std::string& folder, const std::string& name);

// The outer levels of `relative` under `root`, outermost first: for each
// backslash of `relative` at a position greater than 0, `root` joined with
// the text before it. Found character-wise, so that a trail byte equal to the
// backslash code ends no level. A level past the limit is an empty text.
std::vector<std::string> OuterLevels(const std::string& root, const std::string& relative);
