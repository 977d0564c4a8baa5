// Copying one file into place, replacing what is there: read-only and hidden
// targets, and targets in use, which are moved aside or replaced at the next
// restart of the computer.
#pragma once
#include <string>

// Copies sourceFolder\name to destinationFolder\newName (\name when newName is
// null). Folders may end in a separator or not; they are the same when equal
// ignoring case and the kind of separator, and then a copy without a new
// name, or under its own name, has nothing to do (true).
// A target in use is moved to target.old (target.old2 when target.old is in
// use too, both deleted at the next restart) and the copy made in its place;
// when even the move fails, the copy waits as target.new, which replaces the
// target at the next restart, and the result is false. True when the target
// now holds the copy. False also when the source is missing or is a folder,
// the target is a folder, or a path would not fit the system limit.
bool CopyFileReplacing(const std::string& name, const std::string& sourceFolder,
                       const std::string& destinationFolder, const char* newName = nullptr);
