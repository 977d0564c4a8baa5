// The exit status of the setup and of the uninstaller, for deployment tools
// that run them unattended and read only that number; and the one fact the
// status needs from deep inside the installation: a file will only be
// replaced or removed at the next restart.
#pragma once

namespace exitstatus {
// The installation ran; the uninstaller's temporary copy started; the
// self-removal copy finished.
inline constexpr int kDone = 0;
// The package is damaged (no readable application version, no install script).
inline constexpr int kDamagedPackage = 1;
// The user declined a question or cancelled the wizard: nothing was changed
// (the deployment tools' "user cancelled").
inline constexpr int kUserCancelled = 1602;
// The uninstaller could not start its temporary copy (nothing was removed),
// or the copy ended without reporting ("-wait"); an uninstaller outside the
// installed folder removed nothing.
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

// The setup's status once the install driver has returned: the user's
// cancellation when it ended before the installation, else done or, when a
// restart-time operation was recorded, restart required.
int SetupExitStatus(bool endedBeforeInstallation);
