// Paces the animation loop: at most 60 passes a second (unless told otherwise), and the time left
// over in each frame is spent waiting for messages rather than spinning, so input is still handled
// the moment it comes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "forms/handles.h"

namespace forms {

class FramePacer {
 public:
  static constexpr int kFramesPerSecond = 60;

  // The first frame starts now.
  explicit FramePacer(int framesPerSecond = kFramesPerSecond);
  FramePacer(const FramePacer&) = delete;
  FramePacer& operator=(const FramePacer&) = delete;

  // Called once after each pass. Processes every pending window message, then waits out the rest
  // of the pass's frame, processing each message as it arrives. A pass that overran its frame is
  // followed at once and the next frame starts now, so a slow pass never causes a burst of fast
  // ones. Returns false, as soon as it notices, when keepRunning() turns false or WM_QUIT arrives
  // (which is posted again for the message loop outside).
  bool EndPass(const std::function<bool()>& keepRunning);

 private:
  std::int64_t Now() const;
  // Blocks until the deadline or until a message arrives, whichever is first.
  void WaitForDeadlineOrInput(std::int64_t now);

  KernelHandle timer_;
  std::int64_t ticksPerSecond_ = 1;
  std::int64_t period_ = 1;
  std::int64_t deadline_ = 0;
};

}  // namespace forms
