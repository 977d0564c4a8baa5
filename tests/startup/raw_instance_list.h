// An independent view of a running-instance list, made through the
// protocol's names only: the way the application sees the list.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "startup/instance_manager.h"

class RawInstanceList {
 public:
  // Opens the list of that instance name; false (operator bool) when no
  // process holds it. With `createIfMissing`, makes it the way its first
  // process does when nobody holds it yet, without entering anyone into it
  // (so that a test holds the list from before any process of it starts).
  explicit RawInstanceList(const std::string& name = names::kInstanceName, bool createIfMissing = false) {
    using namespace instance_protocol;
    const std::string mappingName = kFileMapPrefix + name;
    bool existed = true;
    if (createIfMissing) {
      SYSTEM_INFO system;
      GetSystemInfo(&system);
      const DWORD granularity = system.dwAllocationGranularity;
      auto roundUp = [granularity](DWORD size) { return (size + granularity - 1) / granularity * granularity; };
      mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                        roundUp(kListRegionSize) + roundUp(kAdditionalRegionSize), mappingName.c_str()));
      existed = GetLastError() == ERROR_ALREADY_EXISTS;
    } else {
      mapping_.reset(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, mappingName.c_str()));
    }
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (view_ && !existed) (*this)->created = 1;  // count and slots start at zero
  }
  RawInstanceList(const RawInstanceList&) = delete;
  RawInstanceList& operator=(const RawInstanceList&) = delete;

  explicit operator bool() const { return static_cast<bool>(view_); }
  instance_protocol::ListRegion* operator->() const { return static_cast<instance_protocol::ListRegion*>(view_.get()); }

  // The listed process identifiers, as many as the count says (at most the
  // list's room).
  std::vector<std::uint32_t> Entries() const {
    const std::uint32_t count = std::min((*this)->count, instance_protocol::kMaxInstances);
    return std::vector<std::uint32_t>((*this)->slots, (*this)->slots + count);
  }
  // The region's bytes, for a comparison byte for byte.
  std::string Bytes() const { return std::string(static_cast<const char*>(view_.get()), sizeof(instance_protocol::ListRegion)); }
  // What the system mapped for the view.
  SIZE_T MappedSize() const {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(view_.get(), &info, sizeof info);
    return info.RegionSize;
  }

 private:
  UniqueHandle mapping_;
  MappedView view_;
};
