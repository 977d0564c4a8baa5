// The uninstaller's self-removal across two processes: the uninstaller starts a
// temporary copy of itself and ends; the copy removes the installation.
#pragma once

// Copies the running uninstaller to a temporary file and starts it with
// "-delself"; when the copy starts, ends this process at once without any
// clean-up and does not return. Returns only when the copy did not start.
void StartSelfRemovalCopy();

// The temporary copy's work: wait for the uninstaller to end, defer the
// copy's own deletion, delete the uninstaller, uninstall its folder, say so
// unless silent, and end the process with exit status 0.
[[noreturn]] void RunSelfRemovalCopy(const char* uninstallerPath);

#include <string>

// The installed folder of an uninstaller path: its drive and folder with the
// trailing backslash; empty when the path has no folder.
std::string SelfRemovalFolder(const std::string& uninstallerPath);
