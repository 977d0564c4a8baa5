#include "startup/self_removal.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/module_path.h"
#include "common/text.h"
#include "resources/resource_ids.h"
#include "startup/deferred_file.h"
#include "startup/message_box.h"
#include "driver/install_options.h"
#include "uninstall/uninstall.h"

namespace {
// The copy gives the uninstaller that started it this long to end.
constexpr DWORD kUninstallerExitWait = 1000;
}  // namespace

std::string SelfRemovalFolder(const std::string& uninstallerPath) {
  std::string folder = FolderPart(uninstallerPath);
  if (folder.empty()) return folder;
  return folder + "\\";
}

// Not built yet: the temporary copy arrives with its own change. Until then
// the uninstaller ends without uninstalling anything.
void StartSelfRemovalCopy() {}

void RunSelfRemovalCopy(const char* uninstallerPath) {
  Sleep(kUninstallerExitWait);
  std::string self = OwnProgramPath();
  if (!self.empty()) DeferDelete(self.c_str());

  // Only a path with a folder names an installation; a bare name would make
  // the current directory the installed folder.
  std::string folder = SelfRemovalFolder(uninstallerPath);
  if (!folder.empty()) {
    DeleteFileA(uninstallerPath);
    Uninstall(folder.c_str());
  }

  if (!InstallOptions.silent) AppMessageBox(IDS_UNINSTALLED, MB_OK);
  // exit, not ExitProcess: the process-wide clean-up (the instance list) runs.
  std::exit(0);
}
