// Which monitors the saver covers and where: the window spans the virtual screen, and every
// monitor shows the picture on its own. Rectangles are in screen pixels, the primary monitor's
// top-left corner at (0, 0), so a monitor left of or above it has negative coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "display/placement.h"

struct ScreenRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right and Bottom excluded
  std::int32_t Width() const { return Right - Left; }
  std::int32_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const ScreenRect& other) const {
    return Left == other.Left && Top == other.Top && Right == other.Right && Bottom == other.Bottom;
  }
};

struct MonitorLayout {
  ScreenRect Window;                 // the saver's window
  std::vector<ScreenRect> Monitors;  // each shows a picture of its own; none overlap
};

// More monitors than this are covered by the window, black, but show no picture of their own:
// every monitor costs a picture's memory.
constexpr std::size_t kMaxMonitors = 16;

// The layout for the monitors as the system listed them. Rectangles without area are dropped,
// and each is cut to virtualScreen (unless that is empty), since the list may have changed since
// the system measured it. Overlapping monitors (mirrored displays) become one, over both. A side is
// at most 32767 pixels. With no monitor left (an empty or failed list), or none that can be covered
// (the pictures' memory could not be had), the primary monitor alone, as on a single screen.
MonitorLayout LayOutMonitors(const std::vector<ScreenRect>& monitors, const ScreenRect& primary,
                             const ScreenRect& virtualScreen);
MonitorLayout PrimaryOnly(const ScreenRect& primary);

// Where Display of this size stands in the window: centred on its monitor.
DisplayPlacement PlaceOnMonitor(const ScreenRect& monitor, const ScreenRect& window, std::int32_t displayWidth,
                                std::int32_t displayHeight);
