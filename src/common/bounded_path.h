// Paths joined from log entries and registry values. A path that would not fit
// the system limit (259 characters and the terminator) is refused, never cut:
// a cut path names another file.
#pragma once
#include <string>

#include "common/names.h"

// True when `path` fits the system limit.
inline bool FitsPathLimit(const std::string& path) { return path.size() < kMaxPath; }

// `folder` and `name` with a backslash between them, none added when the
// folder is empty or already ends with a "\" or "/" character. Empty when the
// result would not fit the limit.
std::string JoinBoundedPath(const std::string& folder, const std::string& name);
