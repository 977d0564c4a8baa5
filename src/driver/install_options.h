// The one record of a setup run's choices, process-wide. Start-up sets
// `silent`, the install driver fills the rest, the wizard pages change their
// fields and the installation reads them.
#pragma once
#include <string>

struct FileVersion {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned third = 0;
  unsigned fourth = 0;
};

struct InstallOptionsRecord {
  std::string destinationFolder;   // as a rule without a trailing backslash
  std::string sourceFolder;        // folder of the running setup, no trailing backslash
  std::string programGroup;        // relative to the start menu's Programs folder
  bool isNewInstall = false;
  bool isUpgrade = false;
  bool allUsers = false;
  bool autoStart = false;
  bool desktopIcon = true;
  bool runAfter = false;
  bool silent = false;
  FileVersion newVersion;          // of the package's application executable
};

extern InstallOptionsRecord InstallOptions;
