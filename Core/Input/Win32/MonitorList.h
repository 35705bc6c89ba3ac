#pragma once
#include <cstdint>
#include <vector>

namespace app {

struct MonitorRect {
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
};

struct MonitorInfo {
  MonitorRect monitor;
  MonitorRect work;  // the part not taken by panels and docks
  bool primary;
};

// The display monitors, in the system's order.
class MonitorList {
 public:
  // Empties the list and enumerates the monitors again. False when the enumeration fails; the
  // monitors read before a monitor whose information cannot be read stay in the list.
  bool Refresh();
  int GetCount() const { return static_cast<int>(mMonitors.size()); }
  // Null when index is not below the count.
  const MonitorInfo* GetMonitor(int index) const;

 private:
  std::vector<MonitorInfo> mMonitors;
};

}  // namespace app
