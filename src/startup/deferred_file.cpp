#include "startup/deferred_file.h"

#include <cstring>
#include <set>
#include <string>
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

// Sources of the renames pending for the restart, as path keys.
using PathSet = std::set<std::string>;

// The system's list: pairs of paths, the list ending in an empty one. A pair
// with an empty target is a deletion.
void ReadSystemList(PathSet& sources) {
  std::vector<std::string> list;
  if (!ReadRegistryMultiString(HKEY_LOCAL_MACHINE, names::kSessionManagerKey, names::kPendingRenamesValue, &list))
    return;
  const std::size_t prefix = std::strlen(names::kObjectPathPrefix);
  for (std::size_t pair = 0; pair + 1 < list.size() && !list[pair].empty(); pair += 2) {
    const std::string& target = list[pair + 1];
    if (target.empty()) continue;
    std::string source = list[pair];
    if (source.compare(0, prefix, names::kObjectPathPrefix) == 0) source.erase(0, prefix);
    sources.insert(PathKey(source));
  }
}

// WININIT.INI's [rename] section: "target=source" lines; "NUL" deletes.
void ReadWininitSection(PathSet& sources) {
  char section[kSectionBufferSize];
  GetPrivateProfileSectionA(names::kWininitRenameSection, section, sizeof section, names::kWininitFile);
  for (const char* entry = section; *entry; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry, '=');
    if (!equals) continue;
    if (std::string(entry, equals) != names::kWininitDelete) sources.insert(PathKey(equals + 1));
  }
}

// Read once: a replacement asks for every file it replaces, and the list
// only grows by what this process adds.
PathSet& PendingRenameSources() {
  static PathSet sources = [] {
    PathSet read;
    ReadSystemList(read);
    ReadWininitSection(read);
    return read;
  }();
  return sources;
}

}  // namespace

DeferredFileCalls& DeferredFilePlatform() {
  static DeferredFileCalls calls = {&MoveFileExA};
  return calls;
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
