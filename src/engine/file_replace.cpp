#include "engine/file_replace.h"

#include <windows.h>

#include <map>

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

// Side names next to a target in use.
constexpr char kOldSuffix[] = ".old";
constexpr char kOlderSuffix[] = "2";  // appended to the .old name when that is in use too
constexpr char kNewSuffix[] = ".new";
// target.new, target.new2 ... target.new9: copies of successive runs that
// wait for the same restart.
constexpr int kMostWaitingCopies = 9;

// The FileStaging alive, and the folders made for it by target folder
// (lower-cased); an empty path marks a folder where none could be made.
struct Staging {
  bool active = false;
  bool targetsExist = false;  // a re-installation: most targets are there
  std::map<std::string, std::string> folders;
};
Staging& TheStaging() {
  static Staging staging;
  return staging;
}

// Where the replacement of `target` is copied before it is moved over the
// target: a name in the staging folder of the target's folder, made on its
// first use. A new name makes Wine read the whole folder it goes in (and a
// stale side name must be deleted first, which reads it again): in a folder
// that holds one file at most, that costs next to nothing. Empty without a
// FileStaging, or when the folder could not be made by this run: a folder of
// that name that was there already is not ours to put files in.
std::string StagedName(const std::string& target) {
  Staging& staging = TheStaging();
  if (!staging.active) return std::string();
  const std::string folder = FolderPart(target);
  std::string key = folder;
  ToLower(key);
  auto found = staging.folders.find(key);
  if (found == staging.folders.end()) {
    std::string made = JoinBoundedPath(folder, names::kStagingFolder);
    if (made.empty() || !CreateDirectoryA(made.c_str(), nullptr)) made.clear();
    found = staging.folders.emplace(key, made).first;
  }
  return found->second.empty() ? std::string() : JoinBoundedPath(found->second, NamePart(target));
}

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

// PlaceFile from `source` to `target`; `how` becomes "copied" when the target
// place was free.
Placement Place(const std::string& source, const std::string& target, bool sameFolder, const char** how) {
  // The newest file must be the one in place after a restart that an earlier
  // run's waiting copy is queued for; the target is then placed as usual,
  // beside another name than the waiting one.
  std::string beside = target + kNewSuffix;
  const bool successorWaits = FitsPathLimit(beside) && WaitsForRestartRename(beside);
  if (successorWaits) {
    if (!IsSourceFile(source)) return Placement::NoSource;
    if (!RenewWaitingCopy(source, target, beside)) return Placement::NotPlaced;
    beside = FreeWaitingName(target);
  }
  // A free target place has nothing to protect, so the first installation's
  // path is one call: a copy that refuses an existing target. A test of the
  // place first would search the folder for the name a second time (for a
  // name that is not there, Wine reads the whole folder).
  // Over an earlier installation most targets are there: their attributes
  // come first, and the refusing copy only for a name that is free.
  const bool targetsExist = TheStaging().active && TheStaging().targetsExist;
  if (!targetsExist && Copy(source, target, true)) {
    *how = "copied";
    return Placement::Placed;
  }
  // The tests below set their own error; without the refusing copy, what it
  // would have said: the target is there.
  DWORD copyError = targetsExist ? static_cast<DWORD>(ERROR_FILE_EXISTS) : GetLastError();
  DWORD targetAttributes = GetFileAttributesA(target.c_str());
  if (targetAttributes == INVALID_FILE_ATTRIBUTES && targetsExist) {
    if (Copy(source, target, true)) {
      *how = "copied";
      return Placement::Placed;
    }
    copyError = GetLastError();
    targetAttributes = GetFileAttributesA(target.c_str());
  }
  // Still free: the source is missing or a folder, or the copy failed.
  if (targetAttributes == INVALID_FILE_ATTRIBUTES) {
    if (!IsSourceFile(source)) return Placement::NoSource;
    SetLastError(copyError);
    return Placement::NotPlaced;
  }

  // A folder in the target's place is never renamed or deleted: it holds
  // files of its own. Nor is an existing target touched for a source that
  // is missing or a folder.
  if (!IsSourceFile(source)) return Placement::NoSource;
  if (targetAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastError(copyError);
    return Placement::NotPlaced;
  }
  // A repair, or a re-installation of files that did not change: a target
  // that already is what the copy would make stays as it is. Nothing is
  // written, so nothing can be cut or lost, and a file in use that is
  // already right needs no restart. Not while an earlier run's copy waits
  // to replace the target at the restart: that one is this run's file now.
  if (!sameFolder && !successorWaits && FileMatchesCopyOf(source, target)) {
    *how = "unchanged";
    return Placement::Placed;
  }
  // Renaming within one folder: an old file of the new name that cannot go
  // stays, and the copy is not made.
  if (sameFolder) return DeleteFileA(target.c_str()) && Copy(source, target) ? Placement::Placed : Placement::NotPlaced;

  ClearDeleteProtection(target, targetAttributes);
  // The new file is made beside the installed one first (in the staging
  // folder, or under a side name): on a drive without room for it the
  // installed file stays as it was, where an overwrite in place or a deletion
  // before the copy would lose it. Only this run's own copy is ever moved
  // over the target. The staging folder's names are this run's: nothing
  // stale to delete there.
  const std::string staged = StagedName(target);
  const std::string& side = staged.empty() ? beside : staged;
  if (!side.empty() && FitsPathLimit(side)) {
    if (staged.empty()) DeleteFileA(side.c_str());
    if (Copy(source, side)) {
      if (RenameReplacing(side, target)) return Placement::Placed;
      DeleteFileA(side.c_str());
    } else if (IsDiskFull(GetLastError())) {
      return Placement::NotPlaced;
    }
  }
  // Overwriting in place leaves the same result as deleting and copying, at a
  // fraction of the cost. A target that refuses it (as a rule, in use) goes
  // the deleting way, and from there aside.
  if (Copy(source, target)) return Placement::Placed;
  if (DeleteFileA(target.c_str()) && Copy(source, target)) return Placement::Placed;
  // A program that holds the target with delete sharing lets the deletion
  // through, but the name stays taken, and the file goes, once that program
  // closes it: without a successor by the side names, it would be lost.
  return ReplaceTargetInUse(source, target, successorWaits);
}

}  // namespace

Placement PlaceFile(const std::string& name, const std::string& sourceFolder, const std::string& destinationFolder,
                    const char* newName) {
  const bool sameFolder = SameFolder(sourceFolder, destinationFolder);
  if (sameFolder && (!newName || SameName(name, newName))) return Placement::Placed;  // the file is its own target

  const std::string source = JoinBoundedPath(sourceFolder, name);
  const std::string target = JoinBoundedPath(destinationFolder, newName ? newName : name);
  const char* how = "replaced";
  if (source.empty() || target.empty()) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return Logged(Placement::NotPlaced, how, sourceFolder + "\\" + name,
                  destinationFolder + "\\" + (newName ? newName : name));
  }
  const Placement placed = Place(source, target, sameFolder, &how);
  return Logged(placed, how, source, target);
}

FileStaging::FileStaging(bool targetsExist) : nested_(TheStaging().active) {
  Staging& staging = TheStaging();
  if (nested_) return;
  staging.active = true;
  staging.targetsExist = targetsExist;
}

FileStaging::~FileStaging() {
  if (nested_) return;
  Staging& staging = TheStaging();
  // Empty by now: every staged copy was moved over its target or deleted.
  for (const auto& made : staging.folders) {
    if (!made.second.empty()) RemoveDirectoryA(made.second.c_str());
  }
  staging.folders.clear();
  staging.active = false;
  staging.targetsExist = false;
}

bool CopyFileReplacing(const std::string& name, const std::string& sourceFolder,
                       const std::string& destinationFolder, const char* newName) {
  return PlaceFile(name, sourceFolder, destinationFolder, newName) == Placement::Placed;
}
