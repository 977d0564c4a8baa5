// Where an uninstaller may remove the installation from: only from the folder
// the installation is registered in. A package folder ships its own
// OrvUnInst.exe, which users find and start; started there it would
// unregister the real installation and replay the package's own install
// script against the package folder.
#pragma once
#include <string>

// True when the uninstaller at `ownPath` (a full path) lies in the registered
// installed folder (full paths compared ignoring case and one trailing
// backslash), or when nothing is registered and its folder holds no
// "setup.exe" (a registration lost: the folder is the installation).
bool UninstallerMayRemove(const std::string& ownPath);

// Refuses the removal asked of the uninstaller at `path`, which
// UninstallerMayRemove refused: logs it, shows string 26 unless `silent`, and
// returns the run's exit status (a failure). Nothing is removed.
int RefuseRemoval(const std::string& path, bool silent);
