#include "engine/shortcuts.h"

#include <cstring>

#include "common/bounded_path.h"
#include "common/codepage_convert.h"
#include "common/com.h"
#include "common/names.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "driver/install_options.h"
#include "framework/exit_status.h"
#include "framework/message_box.h"
#include "resources/resource_ids.h"
#include "startup/deferred_file.h"
#include "uninstall/install_log.h"

namespace {

// Fixed English texts, not string-table entries.
constexpr char kSetPathFailed[] = "SetPath failed!";
constexpr char kSetDescriptionFailed[] = "SetDescription failed!";
// Stored literally: the shell expands it when the shortcut is started.
constexpr char kApplicationWorkingFolder[] = "%APPDATA%";
// The target is handed to the shell link through a buffer of this size.
constexpr std::size_t kTargetBuffer = 512;

// A failed shortcut in the log: the system's error number of a Windows
// error, the whole result otherwise.
HRESULT ShortcutFailed(const std::string& shortcutPath, HRESULT result) {
  const auto error = HRESULT_FACILITY(result) == FACILITY_WIN32 ? static_cast<unsigned long>(HRESULT_CODE(result))
                                                                 : static_cast<unsigned long>(result);
  RunLogFailure("save shortcut", shortcutPath, error);
  return result;
}

HRESULT CreateShellLinkObject(IShellLinkA** link) {
  return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          reinterpret_cast<void**>(link));
}

// The target without one leading and one trailing double quote.
std::string Unquoted(const std::string& target) {
  std::size_t begin = 0;
  std::size_t end = target.size();
  if (end > begin && target[begin] == '"') ++begin;
  if (end > begin && target[end - 1] == '"') --end;
  return target.substr(begin, end - begin);
}

// One shortcut the installation makes: its name (string-table entry), its
// target in the installed folder, and whether it starts in "%APPDATA%".
struct ShortcutKind {
  unsigned nameId;
  const char* targetName;
  bool startsInAppData;
};

constexpr ShortcutKind kApplicationShortcut = {IDS_SHORTCUT_APP, names::kApplicationExe, true};
constexpr ShortcutKind kGroupShortcuts[] = {
    kApplicationShortcut,
    {IDS_SHORTCUT_HELP, names::kHelpFile, false},
    {IDS_SHORTCUT_README, names::kReadmeFile, false},
    {IDS_SHORTCUT_UNINSTALL, names::kUninstallerExe, false},
};

void MakeShortcut(const std::string& folder, const ShortcutKind& kind, PendingRestartList* restartList) {
  // An empty folder text names no place; joined, it would be the root of
  // the current drive.
  if (folder.empty()) return;
  const std::string link = JoinBoundedPath(folder, LoadStringResource(kind.nameId) + names::kShortcutExtension);
  const std::string target = JoinBoundedPath(InstallOptions.destinationFolder, kind.targetName);
  if (link.empty() || target.empty()) return;
  const HRESULT saved = CreateShortcut(target, link, kind.startsInAppData ? kApplicationWorkingFolder : nullptr);
  // An earlier removal that could not delete the shortcut queued it for the restart.
  if (SUCCEEDED(saved) && restartList) restartList->TakeBackDeletion(link);
}

}  // namespace

ShortcutCalls& ShortcutPlatform() {
  static ShortcutCalls calls = {&CreateShellLinkObject};
  return calls;
}

HRESULT CreateShortcut(const std::string& target, const std::string& shortcutPath, const char* workingFolder) {
  EnsureComInitialised();
  // Paths beyond the buffers are refused, never cut into other paths.
  const std::string linkTarget = Unquoted(target);
  WideText widePath = WideOfAnsi(shortcutPath.c_str());
  const bool converted = !widePath.empty() || shortcutPath.c_str()[0] == '\0';
  if (widePath.empty()) widePath.push_back(L'\0');  // an empty path still goes to Save, as an empty text
  if (linkTarget.size() >= kTargetBuffer || !FitsPathLimit(shortcutPath) || !converted ||
      widePath.size() - 1 >= kMaxPath) {
    return ShortcutFailed(shortcutPath, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
  }

  ComRef<IShellLinkA> link;
  HRESULT result = ShortcutPlatform().createShellLink(link.out());
  if (FAILED(result)) return ShortcutFailed(shortcutPath, result);
  ComRef<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()));
  if (FAILED(result)) return ShortcutFailed(shortcutPath, result);

  // A silent run has nobody to press OK: the messages would hold it forever.
  if (FAILED(link->SetPath(linkTarget.c_str())) && !InstallOptions.silent) AppMessageBox(kSetPathFailed, MB_OK);
  if (FAILED(link->SetDescription("")) && !InstallOptions.silent) AppMessageBox(kSetDescriptionFailed, MB_OK);
  if (workingFolder) link->SetWorkingDirectory(workingFolder);

  result = file->Save(widePath.data(), TRUE);
  if (FAILED(result)) return ShortcutFailed(shortcutPath, result);
  RunLogEvent("saved shortcut", shortcutPath);
  // A shortcut the log does not name would stay behind at the removal.
  const std::string log = JoinBoundedPath(InstallOptions.destinationFolder, names::kUninstallLog);
  if (!AppendLogEntry(log.c_str(), LogKind::ShortcutLink, shortcutPath)) {
    RunLogFailure("write uninstall log", log, GetLastError());
    NoteInstallFailure(names::kUninstallLog);
  }
  return result;
}

void CreateGroupShortcuts(const std::string& groupFolder, PendingRestartList* restartList) {
  for (const ShortcutKind& kind : kGroupShortcuts) MakeShortcut(groupFolder, kind, restartList);
}

void CreateApplicationShortcut(const std::string& folder, PendingRestartList* restartList) {
  MakeShortcut(folder, kApplicationShortcut, restartList);
}
