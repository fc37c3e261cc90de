#include "display/monitor_layout.h"

#include <algorithm>

namespace {

// The screen's size is kept in 16 bits.
constexpr std::int32_t kMaxSide = 32767;

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

ScreenRect LimitSides(ScreenRect rect) {
  rect.Right = static_cast<std::int32_t>(std::min<std::int64_t>(rect.Right, std::int64_t{rect.Left} + kMaxSide));
  rect.Bottom = static_cast<std::int32_t>(std::min<std::int64_t>(rect.Bottom, std::int64_t{rect.Top} + kMaxSide));
  return rect;
}

// Merging two may make the merged one overlap a third: start again until none overlap.
void MergeOverlapping(std::vector<ScreenRect>& monitors) {
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < monitors.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < monitors.size() && !merged; ++j) {
        if (Intersection(monitors[i], monitors[j]).Empty()) continue;
        monitors[i] = Union(monitors[i], monitors[j]);
        monitors.erase(monitors.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
  }
}

}  // namespace

MonitorLayout PrimaryOnly(const ScreenRect& primary) {
  const ScreenRect limited = LimitSides(primary);
  return {limited, {limited}};
}

MonitorLayout LayOutMonitors(const std::vector<ScreenRect>& monitors, const ScreenRect& primary,
                             const ScreenRect& virtualScreen) {
  MonitorLayout layout;
  for (const ScreenRect& monitor : monitors) {
    if (layout.Monitors.size() == kMaxMonitors) break;
    const ScreenRect kept = virtualScreen.Empty() ? monitor : Intersection(monitor, virtualScreen);
    if (!kept.Empty()) layout.Monitors.push_back(kept);
  }
  MergeOverlapping(layout.Monitors);
  for (ScreenRect& monitor : layout.Monitors) monitor = LimitSides(monitor);
  if (layout.Monitors.empty()) return PrimaryOnly(primary);
  layout.Window = layout.Monitors.front();
  for (const ScreenRect& monitor : layout.Monitors) layout.Window = Union(layout.Window, monitor);
  return layout;
}

DisplayPlacement PlaceOnMonitor(const ScreenRect& monitor, const ScreenRect& window, std::int32_t displayWidth,
                                std::int32_t displayHeight) {
  const DisplayPlacement centred =
      PlaceDisplay(static_cast<std::int16_t>(monitor.Width()), static_cast<std::int16_t>(monitor.Height()),
                   displayWidth, displayHeight);
  return {monitor.Left - window.Left + centred.Left, monitor.Top - window.Top + centred.Top};
}
