#include "uninstall/log_replay.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "common/bounded_path.h"
#include "common/file_removal.h"
#include "common/file_search.h"
#include "common/held_folder.h"
#include "common/text.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"
#include "uninstall/stale_staging.h"

namespace {

// Deletes one file (its read-only and hidden bits cleared first when given
// in `attributes`); true when it was deleted now. One that stays joins the
// leftovers: a removal that keeps them settles them later (the restart, as a
// rule), so the log says only that it stays for now. Without leftovers, the
// failure is logged.
bool RemoveReplayedFile(RemovalTarget target, const std::string& path, DWORD attributes, Leftovers* leftovers) {
  RemovalOptions options;
  options.clearProtectionOf = attributes;
  options.leftoverForNow = leftovers != nullptr;
  const RemovalResult result = RemoveFileOrFolder(target, path, options);
  if (result == RemovalResult::Stays && leftovers) leftovers->push_back(path);
  return result == RemovalResult::Removed;
}

// The folders a removal works in: the folder it was given and the sub-folders
// below it down to the one of the entry at hand, each held while an entry
// works in it or below it. The entries of one sub-folder follow each other
// in a log: they share the holds, so that a file costs no more calls.
class WorkingFolders {
 public:
  explicit WorkingFolders(const std::string& base) : base_(WithoutTrailingSeparator(base)) {}

  // Holds every folder from the base down to `folder`, a path that begins
  // with the base; false when one of them is a link or cannot be held, and
  // nothing may be deleted there.
  bool Enter(const std::string& folder) {
    std::vector<std::string> chain{WithoutTrailingSeparator(folder)};  // up to the base
    while (chain.back().size() > base_.size()) {
      const std::size_t separator = FindLastSeparator(chain.back());
      if (separator == std::string::npos) break;
      std::string parent = WithoutTrailingSeparator(chain.back().substr(0, separator + 1));
      if (parent == chain.back()) break;  // a drive root
      chain.push_back(std::move(parent));
    }
    std::size_t kept = 0;
    while (kept < held_.size() && kept < chain.size() && held_[kept].path == chain[chain.size() - 1 - kept]) ++kept;
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(kept), held_.end());
    for (std::size_t level = kept; level < chain.size(); ++level) {
      std::string& path = chain[chain.size() - 1 - level];
      HeldFolder hold(path);
      if (!hold.Held()) return false;
      held_.push_back({std::move(path), std::move(hold)});
    }
    return true;
  }

 private:
  struct Hold {
    std::string path;
    HeldFolder folder;
  };
  std::string base_;
  std::vector<Hold> held_;  // from the base down
};

// Deletes the shortcut at `link` unless its folder is a link: nothing of
// this installation is there then, and nothing is left over. Its attributes
// stay as they are, so a read-only shortcut stays too.
void DeleteShortcut(const std::string& link, Leftovers* leftovers) {
  const HeldFolder folder(FolderPart(link) + "\\");  // a root keeps its backslash
  if (folder.Held()) RemoveReplayedFile(RemovalTarget::Shortcut, link, 0, leftovers);
}

// Deletes one file found at `path` with `attributes`, read-only and hidden
// ones included. Folders are never deleted here; their attributes are not
// ours to change either.
bool DeleteFoundFile(const std::string& path, DWORD attributes, Leftovers* leftovers) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return RemoveReplayedFile(RemovalTarget::File, path, attributes, leftovers);
}

// DeleteFilesByPattern in folders `working` holds.
int DeleteMatchingFiles(const std::string& pattern, const std::string& folder, WorkingFolders& working,
                        Leftovers* leftovers) {
  const std::string searchPath = JoinBoundedPath(folder, pattern);
  if (searchPath.empty()) return 0;

  // The found names live in the folder of the pattern's sub-folder part. Both
  // separators count, as they do for the search: a name found in a sub-folder
  // must never be deleted from the folder above it.
  const std::size_t separator = FindLastSeparator(pattern);
  const std::size_t nameStart =
      searchPath.size() - pattern.size() + (separator == std::string::npos ? 0 : separator + 1);
  const std::string entryFolder = searchPath.substr(0, nameStart);
  if (!working.Enter(entryFolder)) return 0;

  // A name without wildcards can match only itself: one attribute query does
  // what a search (opening, reading and closing the folder) would, at less
  // cost, and most lines of a log name single files.
  if (pattern.find_first_of("*?") == std::string::npos) {
    const DWORD attributes = GetFileAttributesA(searchPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    return DeleteFoundFile(searchPath, attributes, leftovers) ? 1 : 0;
  }

  WIN32_FIND_DATAA found;
  FileSearch search(searchPath, &found);
  if (!search.Found()) return 0;
  int deleted = 0;
  do {
    // The search already read each entry's attributes.
    const std::string path = entryFolder + found.cFileName;
    if (!FitsPathLimit(path) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (DeleteFoundFile(path, found.dwFileAttributes, leftovers)) ++deleted;
  } while (search.Next(&found));
  return deleted;
}

}  // namespace

void RemoveLoggedLinks(const char* logPath, Leftovers* leftovers) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;

  // Every shortcut first, so that the group folders are empty when reached.
  LogEntry entry;
  while (log.NextEntry(entry)) {
    const char* link = entry.operand;
    if (entry.kind == LogKind::ShortcutLink && IsShortcutName(link) && FitsPathLimit(link))
      DeleteShortcut(link, leftovers);
  }

  log.Rewind();
  while (log.NextEntry(entry)) {
    if (entry.kind != LogKind::MadeDir) continue;
    for (std::string folder = entry.operand; !folder.empty() && FitsPathLimit(folder); folder = ParentFolder(folder)) {
      // A drive alone names that drive's current folder, not a parent.
      if (folder.size() == 2 && folder[1] == ':') break;
      // A link ends the walk: neither it nor the folders above it go.
      if (!RemoveEmptyFolder(folder)) break;
    }
  }
}

void RemoveLoggedFiles(const char* logPath, const char* folder, LogKind only, Leftovers* leftovers) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;
  const std::string base = folder ? folder : "";

  WorkingFolders working(base);
  LogEntry entry;
  while (log.NextEntry(entry)) {
    if (only == LogKind::None ? !IsFileKind(entry.kind) : entry.kind != only) continue;
    const std::string spec = FileSpecOf(entry.line, entry.prefixLength);
    if (StaysInsideFolder(spec)) DeleteMatchingFiles(spec, base, working, leftovers);
  }

  log.Rewind();
  while (log.NextEntry(entry)) {
    const char* subFolder = entry.operand;
    if (entry.kind != LogKind::MakeDir || !StaysInsideFolder(subFolder)) continue;
    const std::string path = JoinBoundedPath(base, subFolder);
    if (path.empty()) continue;
    // The folders above it are held (and no longer any below them); the
    // folder itself is only checked, since a held folder cannot be removed.
    // A staging folder an interrupted installation left would keep it.
    if (working.Enter(ParentFolder(path)) && RemoveStaleStagingFolder(path)) RemoveEmptyFolder(path);
  }
}

int DeleteFilesByPattern(const std::string& pattern, const std::string& folder, Leftovers* leftovers) {
  WorkingFolders working(folder);
  return DeleteMatchingFiles(pattern, folder, working, leftovers);
}
