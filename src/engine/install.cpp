#include "engine/install.h"

#include <windows.h>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/folder_rights.h"
#include "common/names.h"
#include "common/run_log.h"
#include "common/shell_folders.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "engine/file_replace.h"
#include "engine/folder_levels.h"
#include "engine/install_script.h"
#include "engine/registry_entries.h"
#include "engine/shortcuts.h"
#include "framework/exit_status.h"
#include "startup/deferred_file.h"
#include "uninstall/install_log.h"
#include "uninstall/log_replay.h"

namespace {

// An all-users programs folder shorter than this is taken as not set.
constexpr std::size_t kShortestProgramsFolder = 4;

// The root of the start menu's program groups. Without a usable all-users
// folder the installation becomes a per-user one, for the rest of the run.
std::string ChooseProgramsFolder() {
  if (InstallOptions.allUsers) {
    std::string common = ReadShellFolder(ShellPlace::Programs, true);
    if (common.size() >= kShortestProgramsFolder) return common;
    RunLogEvent("no all-users programs folder: the installation is for the current user");
    InstallOptions.allUsers = false;
  }
  return ReadShellFolder(ShellPlace::Programs, false);
}

// The log of the installation's own lines could not be written: the removal
// would not know what to remove.
void UninstallLogNotWritten(const std::string& log) {
  RunLogFailure("write uninstall log", log, GetLastError());
  NoteInstallFailure(names::kUninstallLog);
}

// Creates the group's folder, outer levels first, and logs the deepest one
// whether or not it could be made. Returns the group folder; empty when there
// is no programs folder to put it in (never the root of the current drive).
std::string MakeProgramGroup(const std::string& programs, const std::string& group, const std::string& log,
                             FolderRights rights) {
  if (programs.empty()) return std::string();
  CreateOuterFolders(programs, group, rights);
  const std::string groupFolder = JoinBoundedPath(programs, group);
  if (groupFolder.empty()) return groupFolder;
  MakeFolder(groupFolder, rights);
  if (!AppendLogEntry(log.c_str(), LogKind::MadeDir, groupFolder)) UninstallLogNotWritten(log);
  return groupFolder;
}

// The choices the installation runs with, once the driver and the wizard
// have settled them.
void LogOptions(const InstallOptionsRecord& options) {
  if (!RunLogOpen()) return;
  const auto yesNo = [](bool value) { return value ? "yes" : "no"; };
  RunLogEvent("destination:", options.destinationFolder);
  RunLogEvent("source:", options.sourceFolder);
  RunLogEvent("program group:", options.programGroup);
  RunLogEvent("options: all users", yesNo(options.allUsers));
  RunLogEvent("options: autostart", yesNo(options.autoStart));
  RunLogEvent("options: desktop icon", yesNo(options.desktopIcon));
  RunLogEvent("options: run after", yesNo(options.runAfter));
  RunLogEvent("options: silent", yesNo(options.silent));
  RunLogEvent("options: installation",
              options.isNewInstall ? "new" : options.isUpgrade ? "upgrade" : "over the same or a newer version");
}

// An elevated run into a folder that other accounts can write works as
// asked, and says so: what is inside can be changed by them. True when
// they can.
bool NoteWritableDestination(const InstallOptionsRecord& options) {
  if (!options.allUsers || !IsFolder(options.destinationFolder) || !OthersCanWrite(options.destinationFolder))
    return false;
  RunLogEvent("other accounts can write the destination:", options.destinationFolder);
  return true;
}

// The shortcuts and group folders the destination's logs name go first:
// an earlier installation's, or those of one whose removal ended abruptly
// once its registry entries were gone (its log would be replaced). Logs that
// another account could have put in the destination name shortcuts and
// folders anywhere: without an earlier installation, they are not read.
void RemoveEarlierLinks(const InstallOptionsRecord& options, const std::string& log) {
  if (NoteWritableDestination(options) && options.isNewInstall) return;
  RemoveLoggedLinks(JoinBoundedPath(options.destinationFolder, names::kOldLog).c_str());
  RemoveLoggedLinks(log.c_str());
}

// The rights of what this run places: an installation for all users keeps
// other accounts out of its staging folders, and out of the folders it makes
// outside Program Files.
PlacementRights RightsOfRun(const InstallOptionsRecord& options) {
  PlacementRights rights;
  rights.madeFolders = MadeFolderRights(options.allUsers, options.destinationFolder);
  rights.staging = options.allUsers ? StagingRights::Administrators : StagingRights::Inherited;
  return rights;
}

// The folder of the file "sfxname" names; empty when the variable is absent,
// holds a bare name, or is too long to be a path.
std::string SiteFolder() {
  char value[kMaxPath];
  const DWORD length = GetEnvironmentVariableA(names::kSfxNameVariable, value, sizeof value);
  if (length == 0 || length >= sizeof value) return std::string();
  return ParentFolder(value);
}

// Site files: copied unread and not logged; a missing one is passed over.
void CopySiteFiles(FilePlacer& placer, const std::string& destination) {
  const std::string site = SiteFolder();
  if (site.empty()) return;
  CopyFileReplacing(placer, names::kSiteIniFile, site, destination);
  CopyFileReplacing(placer, names::kSiteRegFile, site, destination);
}

}  // namespace

void Install() {
  InstallOptionsRecord& options = InstallOptions;
  const std::string& destination = options.destinationFolder;
  const std::string& source = options.sourceFolder;
  const std::string script = JoinBoundedPath(source, names::kUninstallLog);
  const std::string log = JoinBoundedPath(destination, names::kUninstallLog);
  LogOptions(options);
  const PlacementRights rights = RightsOfRun(options);
  if (!PrepareDestination(destination, rights.madeFolders)) return;  // nothing changed
  // What an earlier removal left for the restart to delete: whatever this
  // run puts in those places again must stay.
  PendingRestartList restartList;
  // Every file the installation places, the site files included.
  FilePlacer placer(options.isNewInstall ? Targets::MostlyFree : Targets::MostlyThere, &restartList, rights);
  // The removal queues the installed folder after its files; at the restart
  // it would go only if empty, but it is this run's folder again.
  restartList.TakeBackDeletion(FolderPart(JoinBoundedPath(destination, names::kUninstallerExe)));
  RemoveEarlierLinks(options, log);
  // Over an earlier installation: the files the new script declares obsolete.
  if (!options.isNewInstall) RemoveLoggedFiles(script.c_str(), destination.c_str(), LogKind::FileDel);

  RunInstallScript(script, placer);

  // The script becomes the uninstall log; the empty entry makes sure that
  // the lines appended next start on lines of their own.
  // Without it the removal would not know what to remove.
  if (CopyFilesByPattern(names::kUninstallLog, destination, source, placer) != 1 || !AppendLogLine(log.c_str(), ""))
    UninstallLogNotWritten(log);

  const std::string programs = ChooseProgramsFolder();
  NormalizeSlashes(options.programGroup);
  TrimSeparators(options.programGroup);
  // Without an all-users programs folder the run is one user's by now.
  const FolderRights groupRights = options.allUsers ? rights.madeFolders : FolderRights::Inherited;
  const std::string groupFolder = MakeProgramGroup(programs, options.programGroup, log, groupRights);
  if (!groupFolder.empty() && IsFolder(groupFolder)) CreateGroupShortcuts(groupFolder, &restartList);
  if (options.desktopIcon)
    CreateApplicationShortcut(ReadShellFolder(ShellPlace::Desktop, options.allUsers), &restartList);
  if (options.autoStart)
    CreateApplicationShortcut(ReadShellFolder(ShellPlace::Startup, options.allUsers), &restartList);

  WriteRegistryEntries();
  CopySiteFiles(placer, destination);
  // Last: the size of everything the run left in the folder.
  WriteEstimatedSize();
}
