#include "framework/run_guard.h"

#include <string>

#include "common/names.h"
#include "common/string_table.h"
#include "framework/message_box.h"
#include "resources/resource_ids.h"

namespace {
// A silent run waits this long for another run to end (deployment tools
// retry a run that reports another installation in progress).
constexpr DWORD kSilentWait = 60000;
constexpr DWORD kPollPause = 250;

std::string HandoverMarkName(DWORD processId) {
  return names::kRunGuardHandoverPrefix + std::to_string(processId);
}

// The copy of `handle` inside `process`; false when it could not be made.
bool DuplicateInto(HANDLE handle, HANDLE process) {
  HANDLE remote = nullptr;
  return DuplicateHandle(GetCurrentProcess(), handle, process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS) != FALSE;
}
}  // namespace

RunGuard RunGuard::TryTake() {
  UniqueHandle guard(CreateEventA(nullptr, TRUE, FALSE, names::kRunGuardName));
  // ERROR_ALREADY_EXISTS: another run holds it, and this handle would keep it
  // alive for that run's successors; let go at once. No handle at all (access
  // refused, as to an object another account made): another run holds it too.
  if (!guard || GetLastError() == ERROR_ALREADY_EXISTS) return RunGuard();
  return RunGuard(static_cast<UniqueHandle&&>(guard));
}

RunGuard RunGuard::TakeWithin(DWORD waitMs) {
  for (DWORD begin = GetTickCount();; Sleep(kPollPause)) {
    RunGuard guard = TryTake();
    if (guard.Held() || GetTickCount() - begin >= waitMs) return guard;
  }
}

RunGuard RunGuard::HandedOver() {
  UniqueHandle mark(OpenEventA(SYNCHRONIZE, FALSE, HandoverMarkName(GetCurrentProcessId()).c_str()));
  if (!mark) return RunGuard();
  // The mark exists only while its handle in this process does, so the
  // uninstaller also gave this process a handle to the guard itself.
  return RunGuard(UniqueHandle(OpenEventA(SYNCHRONIZE, FALSE, names::kRunGuardName)));
}

bool RunGuard::HandTo(HANDLE process, DWORD processId) const {
  if (!Held()) return true;
  UniqueHandle mark(CreateEventA(nullptr, TRUE, FALSE, HandoverMarkName(processId).c_str()));
  return mark && DuplicateInto(guard_.get(), process) && DuplicateInto(mark.get(), process);
}

RunGuard AcquireRunGuard(bool silent) {
  if (silent) return RunGuard::TakeWithin(kSilentWait);
  RunGuard guard = RunGuard::TryTake();
  if (!guard.Held()) {
    ShowMessageBox(nullptr, LoadStringResource(IDS_RUN_IN_PROGRESS).c_str(),
                   LoadStringResource(IDS_WINDOW_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  return guard;
}
