// The exit status of the setup and of the uninstaller, for deployment tools
// that run them unattended and read only that number; and the one fact the
// status needs from deep inside the installation: a file will only be
// replaced or removed at the next restart.
#pragma once
#include <string>

namespace exitstatus {
// The installation ran; the uninstaller's temporary copy started; the
// self-removal copy finished.
inline constexpr int kDone = 0;
// The package is damaged (no readable application version, no install script).
inline constexpr int kDamagedPackage = 1;
// The user declined a question or cancelled the wizard: nothing was changed
// (the deployment tools' "user cancelled").
inline constexpr int kUserCancelled = 1602;
// Setup: something could not be installed (a file, the uninstall log, a
// registry value). Uninstaller: it could not start its temporary copy
// (nothing was removed), or the copy ended without reporting ("-wait"), or it
// lies outside the installed folder (nothing was removed).
inline constexpr int kFailed = 1603;
// Another setup, uninstaller or temporary copy of this program is at work:
// nothing was changed; try again once it has finished.
inline constexpr int kRunInProgress = 1618;
// The installation ran, but a file in use is replaced or removed only at the
// next restart ("success, restart required").
inline constexpr int kRestartRequired = 3010;
}  // namespace exitstatus

// Notes that a restart-time file operation was recorded in this process.
void NoteRestartNeeded();

// True once a restart-time file operation was recorded in this process.
bool RestartNeeded();

// Forgets the note (tests that run several installations in one process).
void ResetRestartNeeded();

// Notes that something the installation was to make could not be made: a
// file the install script names (by the name the script gives it), the
// uninstall log, a registry value. The first one's name is kept.
void NoteInstallFailure(const std::string& name);

// How many different names were noted in this process, and the first one
// (empty when none).
unsigned InstallFailureCount();
const std::string& FirstInstallFailure();

// The setup's status once the install driver has returned: the user's
// cancellation when it ended before the installation; failure when
// something could not be installed; else done or, when a restart-time
// operation was recorded, restart required.
int SetupExitStatus(bool endedBeforeInstallation);
