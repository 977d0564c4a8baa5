// An independent view of a running-instance list, made through the
// protocol's names only: the way the application sees the list.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/names.h"
#include "startup/instance_manager.h"

class RawInstanceList {
 public:
  // Opens the list of that instance name; false (operator bool) when no
  // process holds it.
  explicit RawInstanceList(const std::string& name = names::kInstanceName) {
    using namespace instance_protocol;
    mapping_.reset(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, (kFileMapPrefix + name).c_str()));
    if (mapping_) view_ = static_cast<ListRegion*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  }
  ~RawInstanceList() {
    if (view_) UnmapViewOfFile(view_);
  }
  RawInstanceList(const RawInstanceList&) = delete;
  RawInstanceList& operator=(const RawInstanceList&) = delete;

  explicit operator bool() const { return view_ != nullptr; }
  instance_protocol::ListRegion* operator->() { return view_; }

  // The listed process identifiers, as many as the count says.
  std::vector<std::uint32_t> Entries() const { return std::vector<std::uint32_t>(view_->slots, view_->slots + view_->count); }
  // The region's bytes, for a comparison byte for byte.
  std::string Bytes() const { return std::string(reinterpret_cast<const char*>(view_), sizeof(*view_)); }
  // What the system mapped for the view.
  SIZE_T MappedSize() const {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(view_, &info, sizeof info);
    return info.RegionSize;
  }

 private:
  UniqueHandle mapping_;
  instance_protocol::ListRegion* view_ = nullptr;
};
