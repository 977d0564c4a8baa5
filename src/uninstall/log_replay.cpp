#include "uninstall/log_replay.h"

#include <windows.h>

#include <cstring>

#include "common/file_attributes.h"
#include "common/file_search.h"
#include "common/text.h"
#include "uninstall/bounded_path.h"
#include "uninstall/file_entry.h"
#include "uninstall/install_log.h"

namespace {

// The file kinds, in the order in which a line is tested.
const char* const kFileKinds[] = {logprefix::kFileCopy, logprefix::kFileCopyX64, logprefix::kFileCopyInd,
                                  logprefix::kFileOverwrite, logprefix::kFileDel};

// A file that was there and stays: its deletion failed for another reason
// than its absence.
void NoteLeftover(Leftovers* leftovers, const std::string& path) {
  if (!leftovers) return;
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) leftovers->push_back(path);
}

}  // namespace

void RemoveLoggedLinks(const char* logPath, Leftovers* leftovers) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;

  // Every shortcut first, so that the group folders are empty when reached.
  while (log.Next()) {
    const char* link = log.Argument(logprefix::kShellLink);
    if (link && IsShortcutName(link) && FitsPathLimit(link) && !DeleteFileA(link)) NoteLeftover(leftovers, link);
  }

  log.Rewind();
  while (log.Next()) {
    const char* made = log.Argument(logprefix::kMadeDir);
    if (!made) continue;
    for (std::string folder = made; !folder.empty() && FitsPathLimit(folder); folder = ParentFolder(folder)) {
      // A drive alone names that drive's current folder, not a parent.
      if (folder.size() == 2 && folder[1] == ':') break;
      if (!RemoveDirectoryA(folder.c_str())) break;
    }
  }
}

void RemoveLoggedFiles(const char* logPath, const char* folder, const char* prefix, Leftovers* leftovers) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;
  const std::string base = folder ? folder : "";
  const char* const* kinds = prefix ? &prefix : kFileKinds;
  const std::size_t kindCount = prefix ? 1 : sizeof kFileKinds / sizeof kFileKinds[0];

  while (log.Next()) {
    for (std::size_t kind = 0; kind < kindCount; ++kind) {
      if (!log.Argument(kinds[kind])) continue;
      const std::string spec = FileSpecOf(log.Line(), std::strlen(kinds[kind]));
      if (StaysInsideFolder(spec)) DeleteFilesByPattern(spec, base, leftovers);
      break;  // no prefix begins another: a line is of one kind at most
    }
  }

  log.Rewind();
  while (log.Next()) {
    const char* subFolder = log.Argument(logprefix::kMakeDir);
    if (!subFolder || !StaysInsideFolder(subFolder)) continue;
    const std::string path = JoinBoundedPath(base, subFolder);
    if (!path.empty()) RemoveDirectoryA(path.c_str());
  }
}

namespace {

// Deletes one file found at `path` with `attributes`, read-only and hidden
// ones included. Folders are never deleted here; their attributes are not
// ours to change either.
bool DeleteFoundFile(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  ClearDeleteProtection(path, attributes);
  return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace

int DeleteFilesByPattern(const std::string& pattern, const std::string& folder, Leftovers* leftovers) {
  const std::string searchPath = JoinBoundedPath(folder, pattern);
  if (searchPath.empty()) return 0;

  // A name without wildcards can match only itself: one attribute query does
  // what a search (opening, reading and closing the folder) would, at less
  // cost, and most lines of a log name single files.
  if (pattern.find_first_of("*?") == std::string::npos) {
    const DWORD attributes = GetFileAttributesA(searchPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (DeleteFoundFile(searchPath, attributes)) return 1;
    NoteLeftover(leftovers, searchPath);
    return 0;
  }

  // The found names live in the folder of the pattern's sub-folder part. Both
  // separators count, as they do for the search: a name found in a sub-folder
  // must never be deleted from the folder above it.
  const std::size_t separator = FindLastSeparator(pattern);
  const std::size_t nameStart =
      searchPath.size() - pattern.size() + (separator == std::string::npos ? 0 : separator + 1);
  const std::string entryFolder = searchPath.substr(0, nameStart);

  WIN32_FIND_DATAA found;
  FileSearch search(searchPath, &found);
  if (!search.Found()) return 0;
  int deleted = 0;
  do {
    // The search already read each entry's attributes.
    const std::string path = entryFolder + found.cFileName;
    if (!FitsPathLimit(path) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (DeleteFoundFile(path, found.dwFileAttributes))
      ++deleted;
    else
      NoteLeftover(leftovers, path);
  } while (search.Next(&found));
  return deleted;
}
