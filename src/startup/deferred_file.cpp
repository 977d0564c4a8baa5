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

// Sources of the renames pending for the restart, lower-cased.
using PathSet = std::set<std::string>;

std::string Key(std::string path) { return ToLower(path); }

// The system's list: pairs of zero-terminated paths, the list ending in a
// second zero. A pair with an empty target is a deletion.
void ReadSystemList(PathSet& sources) {
  RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, names::kSessionManagerKey, KEY_QUERY_VALUE)) return;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), names::kPendingRenamesValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return;
  std::vector<char> list(size + 2, '\0');  // two zeros more: the walk below always ends
  if (RegQueryValueExA(key.get(), names::kPendingRenamesValue, nullptr, nullptr,
                       reinterpret_cast<BYTE*>(list.data()), &size) != ERROR_SUCCESS)
    return;
  const std::size_t prefix = std::strlen(names::kObjectPathPrefix);
  for (const char* entry = list.data(); *entry && entry < list.data() + size;) {
    const char* target = entry + std::strlen(entry) + 1;
    if (target >= list.data() + size) break;
    if (*target) {
      std::string source = entry;
      if (source.compare(0, prefix, names::kObjectPathPrefix) == 0) source.erase(0, prefix);
      sources.insert(Key(source));
    }
    entry = target + std::strlen(target) + 1;
  }
}

// WININIT.INI's [rename] section: "target=source" lines; "NUL" deletes.
void ReadWininitSection(PathSet& sources) {
  char section[kSectionBufferSize];
  GetPrivateProfileSectionA(names::kWininitRenameSection, section, sizeof section, names::kWininitFile);
  for (const char* entry = section; *entry; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry, '=');
    if (!equals) continue;
    if (std::string(entry, equals) != names::kWininitDelete) sources.insert(Key(equals + 1));
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

bool WaitsForRestartRename(const std::string& path) { return PendingRenameSources().count(Key(path)) != 0; }

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
    PendingRenameSources().insert(Key(source));
  } else {
    RunLogFailure("queue for the restart: rename", std::string(source) + " to " + target, GetLastError());
  }
}
