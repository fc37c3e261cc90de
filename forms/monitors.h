// The monitors as the system lists them, in screen pixels.
#pragma once

#include <windows.h>

#include <vector>

namespace forms {

struct MonitorList {
  std::vector<RECT> Monitors;  // empty when the list could not be had
  RECT Primary{};              // 0, 0 and the primary monitor's size
  RECT VirtualScreen{};        // the bounding rectangle of all monitors, as the system measures it
};

// At most maxMonitors are listed. Never throws: when EnumDisplayMonitors fails or memory runs out,
// Monitors comes back empty.
MonitorList ListMonitors(std::size_t maxMonitors);

}  // namespace forms
