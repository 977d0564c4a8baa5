#include "engine/folder_levels.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_removal.h"
#include "common/folder_rights.h"
#include "common/names.h"
#include "common/registry.h"
#include "common/run_log.h"
#include "common/text.h"
#include "framework/exit_status.h"

namespace {

// The outermost level of `folder` that does not exist yet; empty when the
// folder exists.
std::string OutermostMissingLevel(const std::string& folder) {
  std::string missing;
  for (std::string level = folder; !level.empty() && !IsPresent(level); level = ParentFolder(level)) missing = level;
  return missing;
}

// After a destination could not be made: the levels made on the way to it
// go again, from the deepest up to `outermost`, so that nothing is left.
void RemoveMadeLevels(const std::string& destination, const std::string& outermost) {
  if (outermost.empty()) return;  // nothing was missing: nothing was made
  for (std::string level = destination; !level.empty(); level = ParentFolder(level)) {
    if (IsFolder(level)) RemoveFileOrFolder(RemovalTarget::Folder, level);
    if (level == outermost) return;
  }
}

}  // namespace

FolderRights MadeFolderRights(bool allUsers, const std::string& destination) {
  if (!allUsers) return FolderRights::Inherited;
  const std::string programFiles =
      ReadRegistryString(HKEY_LOCAL_MACHINE, names::kCurrentVersionKey, names::kProgramFilesDirValue);
  return !programFiles.empty() && IsWithinFolder(destination, programFiles) ? FolderRights::Inherited
                                                                             : FolderRights::Installation;
}

bool MakeFolder(const std::string& path, FolderRights rights) {
  // Made with its rights at once: a folder that others could change for a
  // moment could already hold their link or their file.
  const bool own = rights == FolderRights::Installation;
  if (own ? CreateFolderFor(FolderAccess::Installed, path) : CreateDirectoryA(path.c_str(), nullptr) != FALSE) {
    RunLogEvent(own ? "made folder, only administrators may change it:" : "made folder", path);
    return true;
  }
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS) RunLogFailure("make folder", path, error);
  return false;
}

void CreateOuterFolders(const std::string& root, const std::string& relative, FolderRights rights) {
  for (const std::string& level : OuterLevels(root, relative)) {
    if (!level.empty()) MakeFolder(level, rights);
  }
}

bool MakeDestinationFolder(const std::string& folder, FolderRights rights) {
  std::string levels = folder;
  NormalizeSlashes(levels);
  TrimSeparators(levels);
  CreateOuterFolders(std::string(), levels, rights);
  MakeFolder(folder, rights);
  return IsFolder(folder);
}

bool PrepareDestination(const std::string& destination, FolderRights rights) {
  if (!FitsPathLimit(destination)) {
    RunLogFailure("make destination folder", destination, ERROR_FILENAME_EXCED_RANGE);
  } else if (!IsFullPath(destination)) {
    RunLogFailure("make destination folder", destination, ERROR_BAD_PATHNAME);
  } else if (IsFolder(destination)) {
    return true;
  } else {
    const std::string outermost = OutermostMissingLevel(destination);
    if (MakeDestinationFolder(destination, rights)) return true;
    RunLogFailure("make destination folder", destination, GetLastError());
    RemoveMadeLevels(destination, outermost);
  }
  NoteInstallFailure(destination);
  return false;
}
