// Creating a folder path level by level, for destinations and program groups
// that may lie several missing levels deep, with the rights they are made for.
#pragma once
#include <string>

// The rights of a folder an installation makes.
enum class FolderRights {
  Inherited,     // what its parent passes on
  Installation,  // only administrators and the system may change what is inside
};

// The rights of the folders an installation makes: its own for an
// installation for all users outside the Program Files folder (an elevated
// run there may make folders in a parent that every account can write, and
// administrators later run what is inside); inherited otherwise, as in
// Program Files, whose rights are right already. Decided by path, not by
// reading rights; without a Program Files folder, every destination is
// outside it.
FolderRights MadeFolderRights(bool allUsers, const std::string& destination);

// Creates the one folder `path` (its parent must exist) with `rights`.
// Logged when made, and as a failure unless it exists already. True when it
// was made. A folder that exists keeps its rights.
bool MakeFolder(const std::string& path, FolderRights rights = FolderRights::Inherited);

// For each backslash of `relative` at a position greater than 0, from the
// left, creates `root` + "\" + the text before that backslash (just that text
// when `root` is empty) with `rights`. The deepest level itself is left to
// the caller. Failures are ignored: a level that exists or cannot be made is
// passed over.
void CreateOuterFolders(const std::string& root, const std::string& relative,
                        FolderRights rights = FolderRights::Inherited);

// Creates a missing destination with its ancestors, each level made with
// `rights`: each level of the cleaned-up path, then the folder under its
// path as given. True when the folder exists afterwards.
bool MakeDestinationFolder(const std::string& folder, FolderRights rights);

// The destination, made with its missing levels (and `rights`) when it does
// not exist yet ("-instdir" may name one). One that cannot be made (a file
// in the way, no such drive, a name the system refuses, a path past the
// limit, a path that is not full) counts as an installation failure and
// leaves none of the levels made on the way: the caller then changes
// nothing, and nothing goes elsewhere. True when the folder is there.
bool PrepareDestination(const std::string& destination, FolderRights rights);
