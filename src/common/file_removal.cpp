#include "common/file_removal.h"

#include "common/file_attributes.h"
#include "common/run_log.h"

namespace {

constexpr DWORD kRetryPause = 100;

const char* TargetName(RemovalTarget target) {
  switch (target) {
    case RemovalTarget::Shortcut:
      return "shortcut";
    case RemovalTarget::Folder:
      return "folder";
    case RemovalTarget::File:
      break;
  }
  return "file";
}

// One deletion or removal; the thread's last error tells why it failed.
bool RemoveOnce(RemovalTarget target, const std::string& path) {
  return target == RemovalTarget::Folder ? RemoveDirectoryA(path.c_str()) != 0 : DeleteFileA(path.c_str()) != 0;
}

void LogStaying(RemovalTarget target, const std::string& path, DWORD error, bool forNow) {
  if (forNow)
    RunLogEvent("still there for now (error " + std::to_string(error) + "):", path);
  else
    RunLogFailure(std::string("remove ") + TargetName(target), path, error);
}

}  // namespace

RemovalResult RemoveFileOrFolder(RemovalTarget target, const std::string& path, const RemovalOptions& options) {
  if (options.clearProtectionOf) ClearDeleteProtection(path, options.clearProtectionOf);
  for (DWORD waited = 0;; waited += kRetryPause) {
    if (RemoveOnce(target, path)) {
      // The text is built only for an open log: this runs once per removed file.
      if (RunLogOpen()) RunLogEvent(std::string("removed ") + TargetName(target), path);
      return RemovalResult::Removed;
    }
    const DWORD error = GetLastError();
    if (IsGoneError(error)) return RemovalResult::Gone;
    if (target == RemovalTarget::Folder && error == ERROR_DIR_NOT_EMPTY) return RemovalResult::Stays;
    if (waited >= options.retryFor) {
      LogStaying(target, path, error, options.leftoverForNow);
      return RemovalResult::Stays;
    }
    Sleep(kRetryPause);
  }
}
