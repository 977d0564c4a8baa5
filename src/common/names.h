// Fixed names shared by the setup, the uninstaller and the application:
// file names, registry places, kernel object names. Written once, here.
#pragma once

namespace names {

// Product and files
inline constexpr char kProductName[] = "Orvelle 6";  // also the default program group
inline constexpr char kMakerName[] = "Tamberlin";
inline constexpr char kPublisher[] = "Tamberlin Technology LLC";
inline constexpr char kApplicationExe[] = "OrvPix6.exe";
// Programs of the older generations 4.xx and 5.xx: a folder holding one of
// them is no place for this generation.
inline constexpr char kGeneration4Exe[] = "OrvPix.exe";
inline constexpr char kGeneration5Exe[] = "OrvPix5.exe";
inline constexpr char kHelpFile[] = "OrvPix6Man.chm";
inline constexpr char kReadmeFile[] = "readme.txt";
inline constexpr char kUninstallerExe[] = "OrvUnInst.exe";
inline constexpr char kUninstallLog[] = "OrvUnInst.log";  // install script and uninstall log
inline constexpr char kOldLog[] = "install.log";          // left by older versions
inline constexpr char kAgreementFile[] = "agreement.txt";
inline constexpr char kHomePageFile[] = "HomePage.url";
inline constexpr char kSiteIniFile[] = "OrvPix6.ini";
inline constexpr char kSiteRegFile[] = "OrvPix6.reg";
inline constexpr char kSetupExe[] = "setup.exe";  // the setup; in the lower-cased own path: setup mode
inline constexpr char kSfxNameVariable[] = "sfxname";
inline constexpr char kShortcutExtension[] = ".lnk";   // every shortcut the installer saves
// Made by the installation in a folder it replaces files in, gone when it ends.
inline constexpr char kStagingFolder[] = "~OrvSetup.staging";

// Restart-time file operations on systems without delayed moves: the
// [rename] section of WININIT.INI (in the Windows folder), "NUL" as the
// target of a deletion.
inline constexpr char kWininitFile[] = "WININIT.INI";
inline constexpr char kWininitRenameSection[] = "rename";
inline constexpr char kWininitDelete[] = "NUL";
// Restart-time file operations on systems with delayed moves: the system's
// list, pairs of paths in the object-manager form ("\??\C:\..."; a
// target of "!\??\..." may replace an existing file; an empty one deletes).
inline constexpr char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char kPendingRenamesValue[] = "PendingFileRenameOperations";
inline constexpr char kObjectPathPrefix[] = "\\??\\";

// Self-removal: the temporary copy's name prefix and its command line
// (copy -delself uninstaller [-s]).
inline constexpr char kSelfRemovalPrefix[] = "uni";
inline constexpr char kSelfRemovalSwitch[] = "-delself";
inline constexpr char kSilentSwitch[] = "-s";
// The uninstaller returns only once the removal has ended; on the copy's
// command line it is followed by the two handles the copy reports through.
inline constexpr char kWaitSwitch[] = "-wait";
// The administrator's log: "-log" and the file's path, at any position; the
// uninstaller hands it on to its temporary copy.
inline constexpr char kLogSwitch[] = "-log";

// Name under which the application and the setup share their instance list.
inline constexpr char kInstanceName[] = "Tamberlin.Orvelle-KQ.v4";

// One run at a time: the guard every setup, uninstaller and temporary copy
// takes; the mark that tells a temporary copy it was handed the guard (the
// process identifier follows); the mark each process of this program carries
// so that others recognise it (the process identifier follows). In the
// global namespace, so that runs in other sessions (a deployment tool's
// service, a second user) see them too.
inline constexpr char kRunGuardName[] = "Global\\Tamberlin.Orvelle6.SetupRun";
inline constexpr char kRunGuardHandoverPrefix[] = "Global\\Tamberlin.Orvelle6.SetupRun.HandedTo.";
inline constexpr char kProgramMarkPrefix[] = "Global\\Tamberlin.Orvelle6.SetupProcess.";

// Registry: the roots as the run log names them ("HKLM\SOFTWARE\...")
inline constexpr char kMachineRootName[] = "HKLM";  // HKEY_LOCAL_MACHINE
inline constexpr char kUserRootName[] = "HKCU";     // HKEY_CURRENT_USER
inline constexpr char kClassesRootName[] = "HKCR";  // HKEY_CLASSES_ROOT
inline constexpr char kUsersRootName[] = "HKU";     // HKEY_USERS

// Registry: the product's own key (under HKEY_LOCAL_MACHINE) and its values
inline constexpr char kProductKey[] = "SOFTWARE\\Tamberlin\\Orvelle 6";
inline constexpr char kAllUsersValue[] = "AllUsers";  // "B" all users, "A" current user
inline constexpr char kPathValue[] = "Path";
inline constexpr char kAllUsersYes[] = "B";
inline constexpr char kAllUsersNo[] = "A";

// Registry: system places
inline constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesDirValue[] = "ProgramFilesDir";
inline constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OrvPix6.exe";
inline constexpr char kUninstallListKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kUninstallEntryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvelle 6";
inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Registry: removed or given back at uninstall
inline constexpr char kMakerKey[] = "SOFTWARE\\Tamberlin";     // goes when no product key is left in it
inline constexpr char kDocumentTypeKey[] = "OV6.Document";   // under HKEY_CLASSES_ROOT
inline constexpr char kFileExtsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
inline constexpr char kFileExtsTypeValue[] = "Application";  // per-user type choice of an extension
inline constexpr char kSavedHandlerValue[] = "OrvPixOld";    // the handler an image type had before

// Shell Folders value names: per user (HKEY_CURRENT_USER) and all users
// (HKEY_LOCAL_MACHINE)
inline constexpr char kProgramsValue[] = "Programs";
inline constexpr char kDesktopValue[] = "Desktop";
inline constexpr char kStartupValue[] = "Startup";
inline constexpr char kCommonProgramsValue[] = "Common Programs";
inline constexpr char kCommonDesktopValue[] = "Common Desktop";
inline constexpr char kCommonStartupValue[] = "Common Startup";

}  // namespace names

// Longest path the program handles: 259 characters and the terminator.
inline constexpr unsigned kMaxPath = 260;
