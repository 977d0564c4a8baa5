// What a removal leaves of what the installation's logs name (a file held by
// a program, a protected shortcut): queued for deletion at the next restart
// where the system allows it, and the removal's status. A user's own file,
// or an "install.log" no entry names, is no leftover: it keeps the folder
// as it always has, without any failure.
#pragma once
#include <string>

#include "uninstall/log_replay.h"

// Queues each of `leftovers` that is still there for deletion at the next
// restart, then, when nothing but those (and `goingNow`, a file about to be
// deleted) holds the installed `folder` (without a trailing separator; a
// drive root is left alone) and its sub-folders, the folders too
// (deepest first, so that each is empty by its turn). Returns the removal's
// status: done when nothing is left, restart required when all of it is
// queued, failure when something stays that will not go by itself. A
// leftover behind a folder link at this moment (the installed folder or one
// below it, or a shortcut's folder) is not queued, and stays: the restart
// deletes by path, as the system, wherever the path leads then.
int SettleLeftovers(const std::string& folder, const Leftovers& leftovers, const std::string& goingNow = std::string());
