#include "startup/instance_manager.h"

#include <cstring>

using namespace instance_protocol;

namespace {

DWORD RoundUp(DWORD size, DWORD granularity) {
  if (granularity == 0) return size;
  return (size + granularity - 1) / granularity * granularity;
}

void PostToMainWindow(COXInstanceManager& registry, std::uint32_t processId, UINT message, std::uint32_t about) {
  // Posted, never sent: no process waits on another's window while the list
  // mutex is held.
  if (HWND window = registry.FindMainWindow(processId)) PostMessageA(window, message, 0, static_cast<LPARAM>(about));
}

struct MainWindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK TestMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  if (GetWindow(window, GW_OWNER)) return TRUE;
  if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return TRUE;
  char title[512];
  int length = GetWindowTextA(window, title, sizeof title);
  if (length < 0) length = 0;
  title[length < static_cast<int>(sizeof title) ? length : sizeof title - 1] = '\0';
  if (std::strcmp(title, "DDE Server Window") == 0 || std::strcmp(title, "OleMainThreadWndName") == 0) return TRUE;
  if (std::strncmp(title, "Orvelle", 7) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

// The frame of every list operation: the view is mapped before the mutex is
// taken and unmapped before it is released. The wait has no time-out.
class COXInstanceManager::ListAccess {
 public:
  explicit ListAccess(COXInstanceManager& owner) : owner_(owner) {
    if (!owner.mapping_ || !owner.listMutex_) return;
    view_.reset(MapViewOfFile(owner.mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, owner.listRegionSize_));
    if (view_ && WaitForSingleObject(owner.listMutex_.get(), INFINITE) == WAIT_FAILED) view_.reset();
  }
  ~ListAccess() {
    if (!view_) return;
    view_.reset();  // before the release: nobody else maps it while we hold it
    ReleaseMutex(owner_.listMutex_.get());
  }
  ListAccess(const ListAccess&) = delete;
  ListAccess& operator=(const ListAccess&) = delete;

  explicit operator bool() const { return static_cast<bool>(view_); }
  ListRegion& list() { return *static_cast<ListRegion*>(view_.get()); }

 private:
  COXInstanceManager& owner_;
  MappedView view_;
};

COXInstanceManager::COXInstanceManager(const char* instanceName) : name_(instanceName) {
  listMutex_.reset(CreateMutexA(nullptr, FALSE, (kListMutexPrefix + name_).c_str()));
  additionalMutex_.reset(CreateMutexA(nullptr, FALSE, (kAdditionalMutexPrefix + name_).c_str()));

  SYSTEM_INFO system;
  GetSystemInfo(&system);
  listRegionSize_ = RoundUp(listRegionSize_, system.dwAllocationGranularity);
  additionalRegionSize_ = RoundUp(additionalRegionSize_, system.dwAllocationGranularity);

  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                    listRegionSize_ + additionalRegionSize_, (kFileMapPrefix + name_).c_str()));
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (mapping_ && !existed) {
    ListAccess access(*this);
    if (access) {
      ListRegion& list = access.list();
      list.created = 1;
      list.count = 0;
      std::memset(list.slots, 0, sizeof list.slots);
    }
  }
  RegisterInstance(GetCurrentProcessId());
}

COXInstanceManager::~COXInstanceManager() {
  UnregisterInstance(GetCurrentProcessId());
}

int COXInstanceManager::CountInstances() {
  ListAccess access(*this);
  if (!access) return 0;
  std::uint32_t count = access.list().count;
  return static_cast<int>(count < kMaxInstances ? count : kMaxInstances);
}

bool COXInstanceManager::ListInstances(std::vector<std::uint32_t>& ids) {
  ListAccess access(*this);
  if (!access) return false;
  const ListRegion& list = access.list();
  // A count written beyond the slots by a faulty peer must not read past them.
  std::uint32_t count = list.count < kMaxInstances ? list.count : kMaxInstances;
  ids.assign(list.slots, list.slots + count);
  return true;
}

bool COXInstanceManager::RegisterInstance(std::uint32_t processId) {
  ListAccess access(*this);
  if (!access) return false;
  ListRegion& list = access.list();
  if (list.count >= kMaxInstances) return false;
  for (std::uint32_t i = 0; i < list.count; ++i) PostToMainWindow(*this, list.slots[i], kRegisteredMessage, processId);
  list.slots[list.count] = processId;
  ++list.count;
  return true;
}

bool COXInstanceManager::UnregisterInstance(std::uint32_t processId) {
  ListAccess access(*this);
  if (!access) return false;
  ListRegion& list = access.list();
  std::uint32_t count = list.count < kMaxInstances ? list.count : kMaxInstances;
  std::uint32_t at = 0;
  while (at < count && list.slots[at] != processId) ++at;
  if (at == count) return false;
  for (std::uint32_t i = at; i + 1 < count; ++i) list.slots[i] = list.slots[i + 1];
  list.slots[count - 1] = 0;
  list.count = count - 1;
  for (std::uint32_t i = 0; i < list.count; ++i) PostToMainWindow(*this, list.slots[i], kUnregisteredMessage, processId);
  return true;
}

HWND COXInstanceManager::FindMainWindow(std::uint32_t processId) {
  MainWindowSearch search{processId, nullptr};
  EnumWindows(&TestMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
