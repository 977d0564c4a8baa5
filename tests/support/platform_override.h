// A test's own platform calls in a module's table (its `...Platform()`) for
// the object's lifetime; the calls the table held before go back after.
#pragma once

template <class Calls>
class PlatformOverride {
 public:
  PlatformOverride(Calls& table, const Calls& replacement) : table_(table), saved_(table) { table_ = replacement; }
  ~PlatformOverride() { table_ = saved_; }
  PlatformOverride(const PlatformOverride&) = delete;
  PlatformOverride& operator=(const PlatformOverride&) = delete;

 private:
  Calls& table_;
  const Calls saved_;
};
