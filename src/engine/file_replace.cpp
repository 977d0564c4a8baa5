#include "engine/file_replace.h"

#include <windows.h>

#include <optional>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_compare.h"
#include "common/file_rename.h"
#include "common/names.h"
#include "common/run_log.h"
#include "common/text.h"
#include "framework/exit_status.h"
#include "startup/deferred_file.h"

namespace {

// How a placement that ended was done, for the run's log.
constexpr char kCopied[] = "copied";        // the target place was free
constexpr char kReplaced[] = "replaced";    // a file there was replaced
constexpr char kUnchanged[] = "unchanged";  // it already was the package's file

// Side names next to a target in use.
constexpr char kOldSuffix[] = ".old";
constexpr char kOlderSuffix[] = "2";  // appended to the .old name when that is in use too
constexpr char kNewSuffix[] = ".new";
// target.new, target.new2 ... target.new9: copies of successive runs that
// wait for the same restart.
constexpr int kMostWaitingCopies = 9;

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// A copy that runs out of room leaves no truncated file behind (the system's
// copy may keep what it wrote): a cut program must never pass for installed.
bool Copy(const std::string& source, const std::string& target, bool refuseExisting = false) {
  if (CopyFileA(source.c_str(), target.c_str(), refuseExisting ? TRUE : FALSE)) return true;
  const DWORD error = GetLastError();
  if (IsDiskFull(error)) DeleteFileA(target.c_str());
  SetLastError(error);
  return false;
}

// Same folder: equal ignoring case, a trailing separator, and the kind of
// separator. Taken for two folders, the one file would be deleted as the
// target before it could be copied as the source.
bool SameFolder(const std::string& first, const std::string& second) {
  std::string a = JoinBoundedPath(first, "");
  std::string b = JoinBoundedPath(second, "");
  NormalizeSlashes(a);
  NormalizeSlashes(b);
  return ToLower(a) == ToLower(b);
}

bool SameName(std::string first, std::string second) { return ToLower(first) == ToLower(second); }

// A name beside the target for a copy that is to wait for the restart: the
// first of target.new, target.new2 ... that no earlier run's rename waits on
// (deleting that one would leave the target without a successor at the
// restart). Empty when none is free or fits.
std::string FreeWaitingName(const std::string& target) {
  const std::string first = target + kNewSuffix;
  std::string name = first;
  for (int n = 2; WaitsForRestartRename(name); ++n) {
    if (n > kMostWaitingCopies) return std::string();
    name = first + std::to_string(n);
  }
  return FitsPathLimit(name) ? name : std::string();
}

// The copy waits beside the target and takes its place at the restart. The
// target's deletion is queued only once the replacement exists, so that the
// restart never removes the installed file without a successor.
bool QueueBeside(const std::string& source, const std::string& target) {
  const std::string next = FreeWaitingName(target);
  if (next.empty()) return false;
  DeleteFileA(next.c_str());
  if (!Copy(source, next)) return false;
  RunLogEvent("copied beside the file in use:", next);
  DeferDelete(target.c_str());
  DeferRename(next.c_str(), target.c_str());
  return true;
}

// The target exists and cannot be deleted, as a rule because a program holds
// it. The restart-time operations are asked for in the order in which they
// must run. When an earlier run's copy already waits to replace the target
// (`successorWaits`, holding this run's file by now), nothing more is queued.
Placement ReplaceTargetInUse(const std::string& source, const std::string& target, bool successorWaits) {
  std::string old = target + kOldSuffix;
  if (!FitsPathLimit(old + kOlderSuffix)) return Placement::NotPlaced;  // no room for a side name: the target stays

  if (IsPresent(old) && !DeleteFileA(old.c_str())) {
    DeferDelete(old.c_str());
    old += kOlderSuffix;
    DeleteFileA(old.c_str());
  }
  // A file in use can as a rule still be renamed: its name is free at once.
  if (MoveFileA(target.c_str(), old.c_str())) {
    RunLogEvent("renamed aside", target + " to " + old);
    DeferDelete(old.c_str());
    return Copy(source, target) ? Placement::Placed : Placement::NotPlaced;
  }

  // Not even the rename: the copy waits beside the target for the restart.
  const bool queued = successorWaits || QueueBeside(source, target);
  if (Copy(source, target)) return Placement::Placed;
  if (successorWaits) NoteRestartNeeded();  // the earlier run's restart brings this run's file
  return queued ? Placement::AtRestart : Placement::NotPlaced;
}

// An earlier run's copy waits as `waiting` (target.new) to replace the target
// at the restart, which deletes whatever stands in the target's place then:
// that copy becomes this run's file, copied beside it and moved over it
// whole, so that a copy that fails leaves it as it was. False when it could
// not be renewed.
bool RenewWaitingCopy(const std::string& source, const std::string& target, const std::string& waiting) {
  const std::string side = FreeWaitingName(target);
  if (side.empty()) return false;
  DeleteFileA(side.c_str());
  if (!Copy(source, side)) return false;
  if (RenameReplacing(side, waiting)) {
    RunLogEvent("renewed the copy that waits for the restart:", waiting);
    return true;
  }
  const DWORD error = GetLastError();
  DeleteFileA(side.c_str());
  SetLastError(error);
  return false;
}

// Nothing to install when the source is missing or is a folder (CopyFileA
// opens files only).
bool IsSourceFile(const std::string& source) {
  const DWORD attributes = GetFileAttributesA(source.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The outcome of one placement in the run's log; a failure with the error of
// the call that failed.
Placement Logged(Placement placed, const char* how, const std::string& source, const std::string& target) {
  switch (placed) {
    case Placement::Placed:
      RunLogEvent(how, target);
      break;
    case Placement::NoSource:
      RunLogEvent("no such file in the package:", source);
      break;
    case Placement::AtRestart:
      RunLogEvent("replaced at the next restart:", target);
      break;
    case Placement::NotPlaced:
      RunLogFailure("install", target, GetLastError());
      break;
  }
  return placed;
}

// How one placement ended; `how` says in which way it was Placed.
struct Outcome {
  Placement placement;
  const char* how = kReplaced;
};
// A step of a placement: the outcome when the step ends the placement.
using Step = std::optional<Outcome>;

// One file being placed, and what the steps found out about its target.
struct OnePlacement {
  std::string source;
  std::string target;
  bool sameFolder = false;      // a rename within one folder
  bool successorWaits = false;  // an earlier run's copy waits as target.new
  std::string beside;           // the side name for a copy that is to wait
  DWORD targetAttributes = INVALID_FILE_ATTRIBUTES;
  DWORD copyError = ERROR_SUCCESS;  // why the copy to a free place failed
};

// The newest file must be the one in place after a restart that an earlier
// run's waiting copy is queued for: that copy is renewed first, and the
// target is then placed as usual, beside another name than the waiting one.
Step RenewWaitingSuccessor(OnePlacement& file) {
  file.beside = file.target + kNewSuffix;
  file.successorWaits = FitsPathLimit(file.beside) && WaitsForRestartRename(file.beside);
  if (!file.successorWaits) return std::nullopt;
  if (!IsSourceFile(file.source)) return Outcome{Placement::NoSource};
  if (!RenewWaitingCopy(file.source, file.target, file.beside)) return Outcome{Placement::NotPlaced};
  file.beside = FreeWaitingName(file.target);
  return std::nullopt;
}

// A free target place has nothing to protect, so the first installation's
// path is one call: a copy that refuses an existing target. A test of the
// place first would search the folder for the name a second time (for a
// name that is not there, Wine reads the whole folder). Over an earlier
// installation most targets are there: their attributes come first, and the
// refusing copy only for a name that is free. Goes on when the target is
// there.
Step CopyToFreeTarget(OnePlacement& file, Targets expected) {
  const bool mostlyThere = expected == Targets::MostlyThere;
  if (!mostlyThere && Copy(file.source, file.target, true)) return Outcome{Placement::Placed, kCopied};
  // The tests below set their own error; without the refusing copy, what it
  // would have said: the target is there.
  file.copyError = mostlyThere ? static_cast<DWORD>(ERROR_FILE_EXISTS) : GetLastError();
  file.targetAttributes = GetFileAttributesA(file.target.c_str());
  if (file.targetAttributes == INVALID_FILE_ATTRIBUTES && mostlyThere) {
    if (Copy(file.source, file.target, true)) return Outcome{Placement::Placed, kCopied};
    file.copyError = GetLastError();
    file.targetAttributes = GetFileAttributesA(file.target.c_str());
  }
  if (file.targetAttributes != INVALID_FILE_ATTRIBUTES) return std::nullopt;
  // Still free: the source is missing or a folder, or the copy failed.
  if (!IsSourceFile(file.source)) return Outcome{Placement::NoSource};
  SetLastError(file.copyError);
  return Outcome{Placement::NotPlaced};
}

// A folder in the target's place is never renamed or deleted: it holds
// files of its own. Nor is an existing target touched for a source that is
// missing or a folder.
Step RefuseUnreplaceableTarget(const OnePlacement& file) {
  if (!IsSourceFile(file.source)) return Outcome{Placement::NoSource};
  if (!(file.targetAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  SetLastError(file.copyError);
  return Outcome{Placement::NotPlaced};
}

// A repair, or a re-installation of files that did not change: a target
// that already is what the copy would make stays as it is. Nothing is
// written, so nothing can be cut or lost, and a file in use that is already
// right needs no restart. Not while an earlier run's copy waits to replace
// the target at the restart: that one is this run's file now.
Step LeaveUnchangedTarget(const OnePlacement& file) {
  if (file.sameFolder || file.successorWaits || !FileMatchesCopyOf(file.source, file.target)) return std::nullopt;
  return Outcome{Placement::Placed, kUnchanged};
}

// Renaming within one folder: an old file of the new name that cannot go
// stays, and the copy is not made.
Outcome RenameWithinFolder(const OnePlacement& file) {
  const bool placed = DeleteFileA(file.target.c_str()) && Copy(file.source, file.target);
  return Outcome{placed ? Placement::Placed : Placement::NotPlaced};
}

// The new file is made beside the installed one first (in the staging
// folder, or under a side name): on a drive without room for it the
// installed file stays as it was, where an overwrite in place or a deletion
// before the copy would lose it. Only this run's own copy is ever moved over
// the target. The staging folder's names are this run's: nothing stale to
// delete there. Goes on when the copy or the move could not be made.
Step ReplaceFromStaging(const OnePlacement& file, StagingFolders& staging) {
  const std::string staged = staging.StagedName(file.target);
  const std::string& side = staged.empty() ? file.beside : staged;
  if (side.empty() || !FitsPathLimit(side)) return std::nullopt;
  if (staged.empty()) DeleteFileA(side.c_str());
  if (Copy(file.source, side)) {
    if (RenameReplacing(side, file.target)) return Outcome{Placement::Placed};
    DeleteFileA(side.c_str());
  } else if (IsDiskFull(GetLastError())) {
    return Outcome{Placement::NotPlaced};
  }
  return std::nullopt;
}

// Overwriting in place leaves the same result as deleting and copying, at a
// fraction of the cost. A target that refuses it (as a rule, in use) goes
// the deleting way, and from there aside.
Step OverwriteInPlace(const OnePlacement& file) {
  if (Copy(file.source, file.target)) return Outcome{Placement::Placed};
  if (DeleteFileA(file.target.c_str()) && Copy(file.source, file.target)) return Outcome{Placement::Placed};
  return std::nullopt;
}

// The steps of one placement, in order; the first that ends it decides.
Outcome PlaceInSteps(OnePlacement& file, Targets expected, StagingFolders& staging) {
  if (Step done = RenewWaitingSuccessor(file)) return *done;
  if (Step done = CopyToFreeTarget(file, expected)) return *done;
  if (Step done = RefuseUnreplaceableTarget(file)) return *done;
  if (Step done = LeaveUnchangedTarget(file)) return *done;
  if (file.sameFolder) return RenameWithinFolder(file);
  ClearDeleteProtection(file.target, file.targetAttributes);
  if (Step done = ReplaceFromStaging(file, staging)) return *done;
  if (Step done = OverwriteInPlace(file)) return *done;
  // A program that holds the target with delete sharing lets the deletion
  // through, but the name stays taken, and the file goes, once that program
  // closes it: without a successor by the side names, it would be lost.
  return Outcome{ReplaceTargetInUse(file.source, file.target, file.successorWaits)};
}

}  // namespace

Placement FilePlacer::Place(const std::string& name, const std::string& sourceFolder,
                            const std::string& destinationFolder, const char* newName) {
  OnePlacement file;
  file.sameFolder = SameFolder(sourceFolder, destinationFolder);
  if (file.sameFolder && (!newName || SameName(name, newName))) return Placement::Placed;  // its own target

  file.source = JoinBoundedPath(sourceFolder, name);
  file.target = JoinBoundedPath(destinationFolder, newName ? newName : name);
  if (file.source.empty() || file.target.empty()) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return Logged(Placement::NotPlaced, kReplaced, sourceFolder + "\\" + name,
                  destinationFolder + "\\" + (newName ? newName : name));
  }
  // A staging folder that an interrupted run left goes, even where this run
  // needs none.
  staging_.ClearStale(file.target);
  const Outcome outcome = PlaceInSteps(file, expected_, staging_);
  Logged(outcome.placement, outcome.how, file.source, file.target);
  if (outcome.placement == Placement::Placed && restartList_) restartList_->TakeBackDeletion(file.target);
  return outcome.placement;
}

bool CopyFileReplacing(FilePlacer& placer, const std::string& name, const std::string& sourceFolder,
                       const std::string& destinationFolder, const char* newName) {
  return placer.Place(name, sourceFolder, destinationFolder, newName) == Placement::Placed;
}
