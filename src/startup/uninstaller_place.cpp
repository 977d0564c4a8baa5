#include "startup/uninstaller_place.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/names.h"
#include "common/text.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "driver/existing_install.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "resources/resource_ids.h"

namespace {
// The folder as a comparable key: full, long where it exists, lower-cased,
// without one trailing backslash. Empty when it cannot be made whole.
std::string FolderKey(const std::string& folder) {
  char full[kMaxPath];
  DWORD length = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
  if (folder.empty() || length == 0 || length >= sizeof full) return std::string();
  char longForm[kMaxPath];
  DWORD longLength = GetLongPathNameA(full, longForm, sizeof longForm);
  std::string key = (longLength != 0 && longLength < sizeof longForm) ? longForm : full;
  if (key.size() > 1 && key.back() == '\\') key.pop_back();
  return PathKey(key);
}

// True when the two folders name the same place.
bool SameFolder(const std::string& first, const std::string& second) {
  const std::string key = FolderKey(first);
  return !key.empty() && key == FolderKey(second);
}
}  // namespace

bool UninstallerMayRemove(const std::string& ownPath) {
  const std::string ownFolder = FolderPart(ownPath);
  if (ownFolder.empty()) return false;
  const std::string registered = FindInstalledFolder();
  if (!registered.empty()) return SameFolder(ownFolder, registered);
  return !IsPresent(JoinBoundedPath(ownFolder, names::kSetupExe));
}

int RefuseRemoval(const std::string& path, bool silent) {
  RunLogEvent("the uninstaller is not in an installed folder: nothing removed:", path);
  if (!silent) {
    ShowMessageBox(nullptr, LoadStringResource(IDS_NOT_INSTALLED_FOLDER).c_str(),
                   LoadStringResource(IDS_WINDOW_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  return exitstatus::kFailed;
}
