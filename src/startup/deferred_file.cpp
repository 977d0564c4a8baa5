#include "startup/deferred_file.h"

#include <cstring>
#include <string>

#include "common/names.h"
#include "startup/exit_status.h"

namespace {

DelayedMoveCall g_delayedMove = &MoveFileExA;

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

}  // namespace

DelayedMoveCall SetDelayedMoveForTests(DelayedMoveCall call) {
  DelayedMoveCall previous = g_delayedMove;
  g_delayedMove = call ? call : &MoveFileExA;
  return previous;
}

// Every recorded request means the work is finished only by a restart: the
// setup's exit status says so.
bool DeferDelete(const char* path) {
  if (!path || !*path) return false;
  const bool recorded = g_delayedMove(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ||
                        AppendRenameEntry(names::kWininitDelete, path);
  if (recorded) NoteRestartNeeded();
  return recorded;
}

void DeferRename(const char* source, const char* target) {
  if (!source || !*source || !target || !*target) return;
  // Read at the next start as "target takes the place of source".
  if (g_delayedMove(source, target, MOVEFILE_DELAY_UNTIL_REBOOT) || AppendRenameEntry(target, source))
    NoteRestartNeeded();
}
