// Paces the animation loop: at most 60 passes a second (unless told otherwise), and the time left
// over in each frame is spent waiting for messages rather than spinning, so input is still handled
// the moment it comes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "forms/handles.h"

namespace forms {

// The system timer raised to 1 ms with timeBeginPeriod, so that a plain waitable timer wakes within
// a millisecond of its time instead of at the next 15.6 ms tick; lowered again (timeEndPeriod)
// exactly once, by Restore or the destructor, whichever comes first.
class TimerPeriod {
 public:
  explicit TimerPeriod(bool raise);
  ~TimerPeriod() { Restore(); }
  TimerPeriod(const TimerPeriod&) = delete;
  TimerPeriod& operator=(const TimerPeriod&) = delete;
  void Restore();
  bool raised() const { return raised_; }

 private:
  bool raised_ = false;
};

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

  // Lowers the timer resolution this pacer raised: called before the process is ended from within
  // the loop, where no destructor runs.
  void RestoreTimerResolution() { timerPeriod_.Restore(); }
  // Whether the pacer raised it: only where no high-resolution waitable timer exists.
  bool raisedTimerResolution() const { return timerPeriod_.raised(); }

 private:
  std::int64_t Now() const;
  // Blocks until the deadline or until a message arrives, whichever is first.
  void WaitForDeadlineOrInput(std::int64_t now);

  bool highResolution_ = false;  // set while timer_ is made, before timerPeriod_ reads it
  KernelHandle timer_;
  TimerPeriod timerPeriod_;
  std::int64_t ticksPerSecond_ = 1;
  std::int64_t period_ = 1;
  std::int64_t deadline_ = 0;
};

}  // namespace forms
