// One run at a time: while a setup, an uninstaller or a temporary copy of
// this program is at work, no second one changes anything. The guard is a
// named kernel object that exists exactly while someone holds a handle to
// it, so the system lets go of it however its holder ends (a mutex would
// not do: its ownership cannot pass to another process, and an abandoned
// one goes to whichever waiter comes first).
#pragma once
#include <windows.h>

#include "common/handle.h"

class RunGuard {
 public:
  // Not held.
  RunGuard() = default;
  RunGuard(RunGuard&&) = default;
  RunGuard& operator=(RunGuard&&) = default;

  // Takes the guard when nobody holds it; not held otherwise (also when
  // another account's run holds it and its object cannot be opened).
  static RunGuard TryTake();

  // TryTake, again every quarter of a second for up to `waitMs`.
  static RunGuard TakeWithin(DWORD waitMs);

  // The guard an uninstaller handed to this process before it let it run
  // (HandTo); not held when nothing was handed over.
  static RunGuard HandedOver();

  bool Held() const { return static_cast<bool>(guard_); }

  // Gives `process` (started suspended, identifier `processId`) handles of
  // its own to the guard and to the mark that says so, so that the guard is
  // held without a gap from before the process runs until it ends. True
  // when handed over, or when this guard is not held (nothing to hand).
  bool HandTo(HANDLE process, DWORD processId) const;

 private:
  explicit RunGuard(UniqueHandle guard) : guard_(static_cast<UniqueHandle&&>(guard)) {}

  UniqueHandle guard_;
};

// The guard for this run, as the setup, the uninstaller and a copy started
// by hand take it: a silent run waits up to 60 seconds for another run to
// end; any other shows string 25 at once when another run holds it. Not
// held: the run changes nothing and ends with "another installation in
// progress".
RunGuard AcquireRunGuard(bool silent);
