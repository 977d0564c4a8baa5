// The running-instance registry shared with the application: a list of process
// identifiers in named shared memory, guarded by a named mutex.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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

class COXInstanceManager : public RunningInstances {
 public:
  // Opens or creates the shared list and registers the current process.
  explicit COXInstanceManager(const char* instanceName);
  // Unregisters the current process and releases the objects.
  ~COXInstanceManager() override;
  COXInstanceManager(const COXInstanceManager&) = delete;
  COXInstanceManager& operator=(const COXInstanceManager&) = delete;

  int CountInstances() override;
  bool ListInstances(std::vector<std::uint32_t>& ids) override;
  HWND FindMainWindow(std::uint32_t processId) override;
  bool RegisterInstance(std::uint32_t processId);
  bool UnregisterInstance(std::uint32_t processId);

 private:
  std::string name_;
};
