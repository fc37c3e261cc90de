#include "forms/monitors.h"

#include <new>

namespace forms {

namespace {

struct Listing {
  std::vector<RECT>* monitors;
  std::size_t maxMonitors;
  bool failed;
};

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  Listing& listing = *reinterpret_cast<Listing*>(data);
  if (!rect || listing.monitors->size() >= listing.maxMonitors) return FALSE;
  // No exception may cross the system's callback.
  try {
    listing.monitors->push_back(*rect);
  } catch (const std::bad_alloc&) {
    listing.failed = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MonitorList ListMonitors(std::size_t maxMonitors) {
  MonitorList list;
  list.Primary = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  list.VirtualScreen = {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  Listing listing{&list.Monitors, maxMonitors, false};
  try {
    list.Monitors.reserve(maxMonitors);
  } catch (const std::bad_alloc&) {
    return list;
  }
  if (!::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&listing)) &&
      list.Monitors.size() < maxMonitors) {
    listing.failed = true;
  }
  if (listing.failed) list.Monitors.clear();
  return list;
}

}  // namespace forms
