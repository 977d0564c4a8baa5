// Fixed names shared by the setup, the uninstaller and the application:
// file names, registry places, kernel object names. Written once, here.
#pragma once

namespace names {

inline constexpr char kProductName[] = "Orvelle 6";  // also the default program group
inline constexpr char kMakerName[] = "Tamberlin";
inline constexpr char kApplicationExe[] = "OrvPix6.exe";
inline constexpr char kUninstallerExe[] = "OrvUnInst.exe";
inline constexpr char kUninstallLog[] = "OrvUnInst.log";  // install script and uninstall log
inline constexpr char kOldLog[] = "install.log";          // left by older versions
inline constexpr char kSetupExeMarker[] = "setup.exe";    // in the lower-cased own path: setup mode

// Name under which the application and the setup share their instance list.
inline constexpr char kInstanceName[] = "Tamberlin.Orvelle-KQ.v4";

}  // namespace names

// Longest path the program handles: 259 characters and the terminator.
inline constexpr unsigned kMaxPath = 260;
