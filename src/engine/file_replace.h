// Copying one file into place, replacing what is there: read-only and hidden
// targets, and targets in use, which are moved aside or replaced at the next
// restart of the computer.
#pragma once
#include <string>

#include "engine/folder_levels.h"
#include "engine/staging_folders.h"

class PendingRestartList;

// How placing one file ended, for the installation's outcome.
enum class Placement {
  Placed,     // the target holds the copy, or the file is its own target
  NoSource,   // the source is missing or not a file: nothing to install
  AtRestart,  // the copy waits beside the target and replaces it at the restart
  NotPlaced,  // the file could not be installed
};

// What a run expects at its targets: a first installation finds its places
// free, a re-installation finds most of its files there.
enum class Targets { MostlyFree, MostlyThere };

// Who may change the folders an installation makes: the destination's (and
// the program group's), and the staging folders while the run uses them.
struct PlacementRights {
  FolderRights madeFolders = FolderRights::Inherited;
  StagingRights staging = StagingRights::Inherited;
};

// The placement of one installation's files. It owns what the run's
// placements share: the staging folders, removed when it goes, the rights
// of the folders it makes, and what the
// run expects at its targets, which decides what is looked at first. Given
// the run's list of deletions that wait for the restart, it takes back the
// one of each path it places a file at (Placed), so that the restart keeps
// the file; without it, the list is not looked at.
class FilePlacer {
 public:
  explicit FilePlacer(Targets expected, PendingRestartList* restartList = nullptr, PlacementRights rights = {})
      : expected_(expected), restartList_(restartList), madeFolders_(rights.madeFolders), staging_(rights.staging) {}

  // The rights of a destination folder that a placement must make first.
  FolderRights MadeFolderRights() const { return madeFolders_; }
  FilePlacer(const FilePlacer&) = delete;
  FilePlacer& operator=(const FilePlacer&) = delete;

  // Copies sourceFolder\name to destinationFolder\newName (\name when newName
  // is null). Folders may end in a separator or not; they are the same when
  // equal ignoring case and the kind of separator, and then a copy without a
  // new name, or under its own name, has nothing to do (Placed).
  // A target that already is the package's file stays as it is. Another one
  // is replaced by a whole copy made beside it (in the staging folder, or as
  // target.new where none could be made) and moved over it, so that a full
  // drive or a stop half-way never leaves a cut file; a staging folder that
  // an interrupted run left in the target's folder goes first (see
  // StagingFolders::ClearStale). A target in use is
  // moved to target.old (target.old2 when target.old is in use too, both
  // deleted at the next restart) and the copy made in its place; when even
  // the move fails, the copy waits as target.new, which replaces the target
  // at the next restart (AtRestart). A target.new that already waits for the
  // restart (an earlier run's) is never deleted or moved into place: it is
  // renewed whole with this run's file (through target.new2), so that the
  // newest file is the one in place after the restart, and the target is
  // placed as usual. NotPlaced also when the target is a folder or a path
  // would not fit the system limit. Logs the outcome.
  Placement Place(const std::string& name, const std::string& sourceFolder, const std::string& destinationFolder,
                  const char* newName = nullptr);

 private:
  Targets expected_;
  PendingRestartList* restartList_;
  FolderRights madeFolders_;
  StagingFolders staging_;
};

// FilePlacer::Place, true when Placed.
bool CopyFileReplacing(FilePlacer& placer, const std::string& name, const std::string& sourceFolder,
                       const std::string& destinationFolder, const char* newName = nullptr);
