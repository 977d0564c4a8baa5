// Creating a folder path level by level, for destinations and program groups
// that may lie several missing levels deep.
#pragma once
#include <string>

// Creates the one folder `path` (its parent must exist). Logged when made,
// and as a failure unless it exists already. True when it was made.
bool MakeFolder(const std::string& path);

// For each backslash of `relative` at a position greater than 0, from the
// left, creates `root` + "\" + the text before that backslash (just that text
// when `root` is empty). The deepest level itself is left to the caller.
// Failures are ignored: a level that exists or cannot be made is passed over.
void CreateOuterFolders(const std::string& root, const std::string& relative);

// Creates a missing destination with its ancestors: each level of the
// cleaned-up path, then the folder under its path as given. True when the
// folder exists afterwards.
bool MakeDestinationFolder(const std::string& folder);
