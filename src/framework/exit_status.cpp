#include "framework/exit_status.h"

#include <set>

namespace {
bool g_restartNeeded = false;
std::set<std::string> g_installFailures;  // each name once, however often it failed
std::string g_firstInstallFailure;
}  // namespace

void NoteRestartNeeded() { g_restartNeeded = true; }

bool RestartNeeded() { return g_restartNeeded; }

void ResetRestartNeeded() { g_restartNeeded = false; }

void NoteInstallFailure(const std::string& name) {
  if (g_installFailures.empty()) g_firstInstallFailure = name;
  g_installFailures.insert(name);
}

unsigned InstallFailureCount() { return static_cast<unsigned>(g_installFailures.size()); }

const std::string& FirstInstallFailure() { return g_firstInstallFailure; }

int SetupExitStatus(bool endedBeforeInstallation) {
  if (endedBeforeInstallation) return exitstatus::kUserCancelled;
  if (!g_installFailures.empty()) return exitstatus::kFailed;
  return g_restartNeeded ? exitstatus::kRestartRequired : exitstatus::kDone;
}
