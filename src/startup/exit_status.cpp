#include "startup/exit_status.h"

namespace {
bool g_restartNeeded = false;
}  // namespace

void NoteRestartNeeded() { g_restartNeeded = true; }

bool RestartNeeded() { return g_restartNeeded; }

void ResetRestartNeeded() { g_restartNeeded = false; }

int SetupExitStatus(bool endedBeforeInstallation) {
  if (endedBeforeInstallation) return exitstatus::kUserCancelled;
  return g_restartNeeded ? exitstatus::kRestartRequired : exitstatus::kDone;
}
