#include "uninstall/log_replay.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/names.h"
#include "common/file_search.h"
#include "common/text.h"
#include "uninstall/bounded_path.h"
#include "uninstall/install_log.h"

namespace {

// The file kinds, in the order in which a line is tested.
const char* const kFileKinds[] = {logprefix::kFileCopy, logprefix::kFileCopyX64, logprefix::kFileCopyInd,
                                  logprefix::kFileOverwrite, logprefix::kFileDel};

// The installer logs only shortcuts as links; any other file named there is
// not one of its own. The extension is compared without regard to case, as
// the file system does (".lnk" holds no byte that could be a trail byte).
bool IsShortcutName(const char* path) {
  const std::size_t length = std::strlen(path);
  const std::size_t extension = sizeof names::kShortcutExtension - 1;
  if (length < extension) return false;
  std::string tail(path + length - extension);
  return ToLower(tail) == names::kShortcutExtension;
}

// A component made of dots and blanks only, with two dots or more: the file
// system reads it as the parent folder.
bool ClimbsOut(const std::string& component) {
  return component.find_first_not_of(". ") == std::string::npos &&
         std::count(component.begin(), component.end(), '.') >= 2;
}

// True when a name from a log stays inside the folder it is applied to: it is
// neither absolute (a leading separator, a drive) nor climbs out with "..". A
// package never needs either: it names files relative to its own folder.
bool StaysInsideFolder(std::string name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  NormalizeSlashes(name);
  for (;;) {
    const std::size_t separator = FindFirstChar(name, '\\');
    if (ClimbsOut(name.substr(0, separator))) return false;
    if (separator == std::string::npos) return true;
    name.erase(0, separator + 1);
  }
}

// The file spec of a file-kind line: cut at the first " | ", the text after
// the prefix, and for a renaming pair the target with its leading blanks
// removed. Empty when nothing is left.
std::string FileSpecOf(const std::string& line, std::size_t prefixLength) {
  const std::size_t cut = line.find(kLogRemarkSeparator);
  // A remark that starts inside the prefix (at its own trailing blank)
  // leaves no spec at all.
  if (cut != std::string::npos && cut <= prefixLength) return std::string();
  std::string spec = line.substr(prefixLength, cut == std::string::npos ? cut : cut - prefixLength);
  const std::size_t arrow = FindFirstChar(spec, '>');
  if (arrow != std::string::npos) {
    spec.erase(0, arrow + 1);
    TrimBlanks(spec, TrimEnd::Start);
  }
  return spec;
}

}  // namespace

void RemoveLoggedLinks(const char* logPath) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;

  // Every shortcut first, so that the group folders are empty when reached.
  while (log.Next()) {
    const char* link = log.Argument(logprefix::kShellLink);
    if (link && IsShortcutName(link) && FitsPathLimit(link)) DeleteFileA(link);
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

void RemoveLoggedFiles(const char* logPath, const char* folder, const char* prefix) {
  LogReader log(logPath);
  if (!log.IsOpen()) return;
  const std::string base = folder ? folder : "";
  const char* const* kinds = prefix ? &prefix : kFileKinds;
  const std::size_t kindCount = prefix ? 1 : sizeof kFileKinds / sizeof kFileKinds[0];

  while (log.Next()) {
    for (std::size_t kind = 0; kind < kindCount; ++kind) {
      if (!log.Argument(kinds[kind])) continue;
      const std::string spec = FileSpecOf(log.Line(), std::strlen(kinds[kind]));
      if (StaysInsideFolder(spec)) DeleteFilesByPattern(spec, base);
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
// ours to change either. Writing back attributes that would not change is a
// wasted call per file, and is left out.
bool DeleteFoundFile(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  constexpr DWORD kProtection = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  if (attributes & kProtection) {
    const DWORD cleared = attributes & ~kProtection;
    SetFileAttributesA(path.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL);  // 0 would mean "unchanged"
  }
  return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace

int DeleteFilesByPattern(const std::string& pattern, const std::string& folder) {
  const std::string searchPath = JoinBoundedPath(folder, pattern);
  if (searchPath.empty()) return 0;

  // A name without wildcards can match only itself: one attribute query does
  // what a search (opening, reading and closing the folder) would, at less
  // cost, and most lines of a log name single files.
  if (pattern.find_first_of("*?") == std::string::npos) {
    const DWORD attributes = GetFileAttributesA(searchPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && DeleteFoundFile(searchPath, attributes) ? 1 : 0;
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
    if (FitsPathLimit(path) && DeleteFoundFile(path, found.dwFileAttributes)) ++deleted;
  } while (search.Next(&found));
  return deleted;
}
