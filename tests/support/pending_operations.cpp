#include "support/pending_operations.h"

#include <windows.h>

#include "common/handle.h"
#include "common/names.h"
#include "common/registry.h"
#include "support/processes.h"

namespace {
constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";
constexpr DWORD kRestartWait = 60000;
}  // namespace

std::vector<PendingOperation> PendingOperations() {
  std::vector<PendingOperation> operations;
  RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kSessionManagerKey, KEY_READ)) return operations;
  DWORD type = 0;
  DWORD size = 0;
  std::string data;
  if (RegQueryValueExA(key.get(), kPendingValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ) {
    data.resize(size);
    if (RegQueryValueExA(key.get(), kPendingValue, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
      size = 0;
    data.resize(size);
  }

  // Zero-terminated strings in pairs (an empty target is a deletion); a
  // final zero ends the list.
  std::vector<std::string> strings;
  std::size_t position = 0;
  while (position + 1 < data.size()) {
    std::size_t end = data.find('\0', position);
    if (end == std::string::npos) end = data.size();
    strings.push_back(data.substr(position, end - position));
    position = end + 1;
  }
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) operations.push_back({strings[i], strings[i + 1]});
  return operations;
}

std::string SystemListPath(const std::string& path) { return "\\??\\" + path; }

std::string WininitPath() {
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  return std::string(folder, length) + "\\" + names::kWininitFile;
}

bool RestartPrefix() {
  char system[MAX_PATH];
  UINT length = GetSystemDirectoryA(system, sizeof system);
  return RunToEnd(std::string(system, length) + "\\wineboot.exe", "-r", std::string(), kRestartWait) == 0;
}
