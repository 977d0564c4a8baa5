// Copying one file into place, replacing what is there: read-only and hidden
// targets, and targets in use, which are moved aside or replaced at the next
// restart of the computer.
#pragma once
#include <string>

// How placing one file ended, for the installation's outcome.
enum class Placement {
  Placed,     // the target holds the copy, or the file is its own target
  NoSource,   // the source is missing or not a file: nothing to install
  AtRestart,  // the copy waits beside the target and replaces it at the restart
  NotPlaced,  // the file could not be installed
};

// Copies sourceFolder\name to destinationFolder\newName (\name when newName is
// null). Folders may end in a separator or not; they are the same when equal
// ignoring case and the kind of separator, and then a copy without a new
// name, or under its own name, has nothing to do (Placed).
// A target in use is moved to target.old (target.old2 when target.old is in
// use too, both deleted at the next restart) and the copy made in its place;
// when even the move fails, the copy waits as target.new, which replaces the
// target at the next restart (AtRestart). A target.new that already waits
// for the restart (an earlier run's) is never deleted or moved into place:
// it is renewed whole with this run's file (through target.new2), so that
// the newest file is the one in place after the restart, and the target is
// placed as usual. NotPlaced also when the target is a folder or a path
// would not fit the system limit.
Placement PlaceFile(const std::string& name, const std::string& sourceFolder, const std::string& destinationFolder,
                    const char* newName = nullptr);

// While one lives, PlaceFile copies each replacement into a staging folder
// made in the target's folder ("~OrvSetup.staging") and moves it over the
// target from there, instead of copying it to a side name beside the target:
// the same guarantees at a fraction of the name lookups in a large folder.
// The folders it made go with it. With `targetsExist` (a re-installation),
// each target's attributes are read before a copy to a free name is tried.
// A second one inside the first changes nothing.
class FileStaging {
 public:
  explicit FileStaging(bool targetsExist = false);
  ~FileStaging();
  FileStaging(const FileStaging&) = delete;
  FileStaging& operator=(const FileStaging&) = delete;

 private:
  bool nested_;
};

// PlaceFile, true when Placed.
bool CopyFileReplacing(const std::string& name, const std::string& sourceFolder,
                       const std::string& destinationFolder, const char* newName = nullptr);
