#include "startup/instance_manager.h"

// Not built yet: the shared instance list arrives with its own change. Until
// then the registry is unavailable, which the start-up treats as "no running
// copies": nothing is counted, listed or closed.
COXInstanceManager::COXInstanceManager(const char* instanceName) : name_(instanceName) {}

COXInstanceManager::~COXInstanceManager() = default;

int COXInstanceManager::CountInstances() { return 0; }

bool COXInstanceManager::ListInstances(std::vector<std::uint32_t>&) { return false; }

HWND COXInstanceManager::FindMainWindow(std::uint32_t) { return nullptr; }

bool COXInstanceManager::RegisterInstance(std::uint32_t) { return false; }

bool COXInstanceManager::UnregisterInstance(std::uint32_t) { return false; }
