// The running-instance registry shared with the application: a list of process
// identifiers in named shared memory, guarded by a named mutex. The names, the
// layout and the messages are a protocol between separate programs.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/handle.h"

// What start-up needs of the instance registry (a seam for tests).
class RunningInstances {
 public:
  virtual ~RunningInstances() = default;
  // Processes registered under the instance name, this one included; 0 when
  // the registry is unavailable.
  virtual int CountInstances() = 0;
  // Their identifiers in list order; false (ids untouched) when unavailable.
  virtual bool ListInstances(std::vector<std::uint32_t>& ids) = 0;
  // The process's main window, or null.
  virtual HWND FindMainWindow(std::uint32_t processId) = 0;
};

namespace instance_protocol {
inline constexpr char kFileMapPrefix[] = "COXInstanceManager_FileMap_";
inline constexpr char kListMutexPrefix[] = "COXInstanceManager_InstanceList_Mutex_";
inline constexpr char kAdditionalMutexPrefix[] = "COXInstanceManager_Additional_Mutex_";
inline constexpr DWORD kListRegionSize = 4008;  // word 0, count, 1000 slots
inline constexpr DWORD kAdditionalRegionSize = 1024;
inline constexpr std::uint32_t kMaxInstances = 1000;
inline constexpr UINT kRegisteredMessage = 1946;    // lParam: the new process
inline constexpr UINT kUnregisteredMessage = 1947;  // lParam: the process that left

// The list region as it lies in the shared memory (little-endian words).
struct ListRegion {
  std::uint32_t created;  // 1, set by the process that created the memory
  std::uint32_t count;
  std::uint32_t slots[kMaxInstances];
};
static_assert(sizeof(ListRegion) == kListRegionSize, "the list layout is fixed");
}  // namespace instance_protocol

class COXInstanceManager : public RunningInstances {
 public:
  // Opens or creates the shared list and registers the current process. When
  // a mutex or the memory cannot be had, the object runs on unavailable.
  explicit COXInstanceManager(const char* instanceName);
  // Unregisters the current process and releases the objects.
  ~COXInstanceManager() override;
  COXInstanceManager(const COXInstanceManager&) = delete;
  COXInstanceManager& operator=(const COXInstanceManager&) = delete;

  int CountInstances() override;
  bool ListInstances(std::vector<std::uint32_t>& ids) override;
  // The first top-level window of the process without owner, not a tool
  // window, not titled "DDE Server Window" or "OleMainThreadWndName", and
  // titled "Orvelle..." (case-sensitive).
  HWND FindMainWindow(std::uint32_t processId) override;
  // Adds the process at the end; the processes already listed are told first.
  // False when the list is full or unavailable.
  bool RegisterInstance(std::uint32_t processId);
  // Removes the process's first entry and tells the others. False when absent.
  bool UnregisterInstance(std::uint32_t processId);

 private:
  class ListAccess;

  std::string name_;
  DWORD listRegionSize_ = instance_protocol::kListRegionSize;
  DWORD additionalRegionSize_ = instance_protocol::kAdditionalRegionSize;
  UniqueHandle listMutex_;
  UniqueHandle additionalMutex_;
  UniqueHandle mapping_;
  MappedView additionalView_;  // never made here; released if present
};
