#include "startup/deferred_file.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/run_log.h"
#include "common/text.h"
#include "framework/exit_status.h"

namespace {

// The [rename] section is read and written back whole through one buffer of
// this size, in the profile functions' form: every entry followed by a zero
// byte, the last one by a second zero.
constexpr DWORD kSectionBufferSize = 16384;

// Appends "key=value" as the last entry of WININIT.INI's [rename] section;
// the entries already there keep their order. When the section and the new
// entry together do not fit the buffer, the entry is refused (false) and the
// file is left as it was: the buffer stays bounded, and the requests already
// made are never cut off to make room.
bool AppendRenameEntry(const char* key, const char* value) {
  std::string entry = std::string(key) + "=" + value;
  char section[kSectionBufferSize];
  DWORD used = GetPrivateProfileSectionA(names::kWininitRenameSection, section, sizeof section, names::kWininitFile);
  // Room for the entry, its zero and the section's final zero. A section too
  // long for the buffer reads back cut, with used == size - 2, and never
  // passes this test: a cut section is never written back.
  if (used + entry.size() + 2 > sizeof section) return false;
  std::memcpy(section + used, entry.c_str(), entry.size() + 1);
  section[used + entry.size() + 1] = '\0';
  return WritePrivateProfileSectionA(names::kWininitRenameSection, section, names::kWininitFile) != FALSE;
}

// One operation of a pending list, its paths as keys (an empty target
// deletes the source), and the entries of the list it takes.
struct PendingEntry {
  std::string source;
  std::string target;
  std::size_t first;  // its first entry
  std::size_t count;  // two texts in the system's list, one line in WININIT.INI
};

// A pending list as stored (the texts of the system's list, the lines of the
// [rename] section) and the operations read from it.
struct PendingList {
  std::vector<std::string> entries;
  std::vector<PendingEntry> operations;
  bool whole = true;  // false: a section too long for the buffer, read cut
};

// A path of the system's list as a key: without the "!" that lets a rename
// replace its target, and without the object path prefix.
std::string SystemListKey(const std::string& path) {
  std::size_t from = !path.empty() && path[0] == '!' ? 1 : 0;
  const std::size_t prefix = std::strlen(names::kObjectPathPrefix);
  if (path.compare(from, prefix, names::kObjectPathPrefix) == 0) from += prefix;
  return PathKey(path.substr(from));
}

// The system's list: pairs of texts, the list ending in an empty one. A pair
// with an empty target is a deletion.
PendingList ReadSystemList() {
  PendingList list;
  ReadRegistryMultiString(HKEY_LOCAL_MACHINE, names::kSessionManagerKey, names::kPendingRenamesValue, &list.entries);
  const std::vector<std::string>& texts = list.entries;
  for (std::size_t pair = 0; pair + 1 < texts.size() && !texts[pair].empty(); pair += 2) {
    const std::string& target = texts[pair + 1];
    list.operations.push_back({SystemListKey(texts[pair]), target.empty() ? target : SystemListKey(target), pair, 2});
  }
  return list;
}

// WININIT.INI's [rename] section: "target=source" lines; "NUL" deletes.
PendingList ReadWininitSection() {
  PendingList list;
  char section[kSectionBufferSize];
  const DWORD used =
      GetPrivateProfileSectionA(names::kWininitRenameSection, section, sizeof section, names::kWininitFile);
  list.whole = used < sizeof section - 2;  // a cut section reads back with used == size - 2
  const std::string deletion = PathKey(names::kWininitDelete);
  for (const char* entry = section; *entry; entry += std::strlen(entry) + 1) {
    list.entries.emplace_back(entry);
    const char* equals = std::strchr(entry, '=');
    if (!equals) continue;
    std::string target = PathKey(std::string(entry, equals));
    if (target == deletion) target.clear();
    list.operations.push_back({PathKey(equals + 1), target, list.entries.size() - 1, 1});
  }
  return list;
}

// Nothing left but the list's closing zero: the value goes, as it was before
// anything was queued.
bool WriteSystemList(const PendingList& list) {
  const bool empty = std::all_of(list.entries.begin(), list.entries.end(), [](const std::string& e) { return e.empty(); });
  if (empty) return DeleteRegistryValue(HKEY_LOCAL_MACHINE, names::kSessionManagerKey, names::kPendingRenamesValue);
  return WriteRegistryMultiString(HKEY_LOCAL_MACHINE, names::kSessionManagerKey, names::kPendingRenamesValue,
                                  list.entries);
}

// A section read cut is never written back: the entries past the cut would
// be lost.
bool WriteWininitSection(const PendingList& list) {
  if (!list.whole) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::string section;
  for (const std::string& entry : list.entries) section.append(entry).push_back('\0');
  section.push_back('\0');  // the section's final zero (an empty one is a lone zero)
  return WritePrivateProfileSectionA(names::kWininitRenameSection, section.c_str(), names::kWininitFile) != FALSE;
}

// Where the pending operations are stored: read and written back whole.
struct PendingRoad {
  PendingList (*read)();
  bool (*write)(const PendingList&);
};
constexpr PendingRoad kSystemListRoad = {&ReadSystemList, &WriteSystemList};
constexpr PendingRoad kWininitRoad = {&ReadWininitSection, &WriteWininitSection};

// Per path key, the deletions of it that no later rename to it relies on: a
// rename does not replace an existing target, so the deletions before it
// clear its way.
std::map<std::string, unsigned> BareDeletions(const PendingList& list) {
  std::map<std::string, unsigned> counts;
  for (const PendingEntry& operation : list.operations) {
    if (operation.target.empty()) {
      ++counts[operation.source];
    } else {
      counts.erase(operation.target);
    }
  }
  return counts;
}

// Drops the first `most` deletions of `key` after the last rename to it (the
// earliest are the earlier runs'; the run's own come after them); the other
// entries keep their order. Returns how many were dropped.
unsigned DropDeletions(PendingList& list, const std::string& key, unsigned most) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < list.operations.size(); ++i)
    if (list.operations[i].target == key) from = i + 1;
  std::vector<bool> dropped(list.entries.size(), false);
  unsigned count = 0;
  for (std::size_t i = from; i < list.operations.size() && count < most; ++i) {
    const PendingEntry& operation = list.operations[i];
    if (!operation.target.empty() || operation.source != key) continue;
    for (std::size_t entry = operation.first; entry < operation.first + operation.count; ++entry) dropped[entry] = true;
    ++count;
  }
  std::vector<std::string> kept;
  for (std::size_t entry = 0; entry < list.entries.size(); ++entry)
    if (!dropped[entry]) kept.push_back(std::move(list.entries[entry]));
  list.entries.swap(kept);
  return count;
}

// Takes back the deletions of `key` that `counts` holds from a fresh read of
// `road` (others may have added to it since it was first read). Sets
// `tookBack` when any went; false when the road could not be written.
bool TakeBackFrom(std::map<std::string, unsigned>& counts, const PendingRoad& road, const std::string& key,
                  bool* tookBack) {
  const auto found = counts.find(key);
  if (found == counts.end()) return true;
  const unsigned most = found->second;
  counts.erase(found);  // once: a second placement at the path finds nothing to take back
  PendingList list = road.read();
  if (DropDeletions(list, key, most) == 0) return true;
  *tookBack = true;
  return road.write(list);
}

// Sources of the renames pending for the restart, as path keys.
using PathSet = std::set<std::string>;

// Read once: a replacement asks for every file it replaces, and the list
// only grows by what this process adds.
PathSet& PendingRenameSources() {
  static PathSet sources = [] {
    PathSet read;
    for (const PendingList& list : {ReadSystemList(), ReadWininitSection()}) {
      for (const PendingEntry& operation : list.operations)
        if (!operation.target.empty()) read.insert(operation.source);
    }
    return read;
  }();
  return sources;
}

}  // namespace

DeferredFileCalls& DeferredFilePlatform() {
  static DeferredFileCalls calls = {&MoveFileExA};
  return calls;
}

PendingRestartList::PendingRestartList()
    : systemList_(BareDeletions(ReadSystemList())), wininit_(BareDeletions(ReadWininitSection())) {}

bool PendingRestartList::TakeBackDeletion(const std::string& path) {
  if (systemList_.empty() && wininit_.empty()) return true;  // the common case: nothing waits
  const std::string key = PathKey(path);
  bool tookBack = false;
  bool written = TakeBackFrom(systemList_, kSystemListRoad, key, &tookBack);
  written = TakeBackFrom(wininit_, kWininitRoad, key, &tookBack) && written;
  if (!written) {
    RunLogFailure("take back the restart-time deletion of", path, GetLastError());
    NoteInstallFailure(path);
  } else if (tookBack) {
    RunLogEvent("took back the restart-time deletion of", path);
  }
  return written;
}

bool WaitsForRestartRename(const std::string& path) { return PendingRenameSources().count(PathKey(path)) != 0; }

// Every recorded request means the work is finished only by a restart: the
// setup's exit status says so.
bool DeferDelete(const char* path) {
  if (!path || !*path) return false;
  const bool recorded = DeferredFilePlatform().delayedMove(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ||
                        AppendRenameEntry(names::kWininitDelete, path);
  if (recorded) {
    RunLogEvent("queued for the restart: delete", path);
    NoteRestartNeeded();
  } else {
    RunLogFailure("queue for the restart: delete", path, GetLastError());
  }
  return recorded;
}

void DeferRename(const char* source, const char* target) {
  if (!source || !*source || !target || !*target) return;
  // Read at the next start as "target takes the place of source".
  if (DeferredFilePlatform().delayedMove(source, target, MOVEFILE_DELAY_UNTIL_REBOOT) || AppendRenameEntry(target, source)) {
    RunLogEvent("queued for the restart: rename", std::string(source) + " to " + target);
    NoteRestartNeeded();
    PendingRenameSources().insert(PathKey(source));
  } else {
    RunLogFailure("queue for the restart: rename", std::string(source) + " to " + target, GetLastError());
  }
}
