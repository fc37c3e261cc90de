#include "forms/frame_pacer.h"

#include <mmsystem.h>

namespace forms {

namespace {

// Windows 10 and later can fire a waitable timer to the sub-millisecond; older systems (and Wine)
// refuse the flag, and their plain timer is used instead.
constexpr DWORD kHighResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD kTimerAllAccess = 0x1F0003;         // TIMER_ALL_ACCESS

HANDLE CreateFrameTimer(bool& highResolution) {
  highResolution = false;
  using CreateTimerEx = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  auto createEx = kernel ? reinterpret_cast<CreateTimerEx>(
                               reinterpret_cast<void*>(::GetProcAddress(kernel, "CreateWaitableTimerExW")))
                         : nullptr;
  if (createEx) {
    HANDLE timer = createEx(nullptr, nullptr, kHighResolutionTimer, kTimerAllAccess);
    highResolution = timer != nullptr;
    if (timer) return timer;
  }
  return ::CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

// Dispatches every message waiting now. False when WM_QUIT came, which is posted again.
bool ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}

}  // namespace

TimerPeriod::TimerPeriod(bool raise) : raised_(raise && ::timeBeginPeriod(1) == TIMERR_NOERROR) {}

void TimerPeriod::Restore() {
  if (raised_) ::timeEndPeriod(1);
  raised_ = false;
}

FramePacer::FramePacer(int framesPerSecond)
    : timer_(CreateFrameTimer(highResolution_)), timerPeriod_(!highResolution_) {
  if (framesPerSecond < 1) framesPerSecond = 1;
  LARGE_INTEGER frequency;
  if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) ticksPerSecond_ = frequency.QuadPart;
  period_ = (ticksPerSecond_ + framesPerSecond / 2) / framesPerSecond;
  if (period_ < 1) period_ = 1;
  deadline_ = Now() + period_;
}

std::int64_t FramePacer::Now() const {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

bool FramePacer::EndPass(const std::function<bool()>& keepRunning) {
  for (bool waited = false;; waited = true) {
    if (!ProcessPendingMessages() || !keepRunning()) return false;
    const std::int64_t now = Now();
    if (now < deadline_) {
      WaitForDeadlineOrInput(now);
      continue;
    }
    // A wait that woke a little late keeps the rhythm. A pass that overran its frame is followed
    // at once, and the next frame is measured from now: no frames already past to catch up on.
    if (waited) deadline_ += period_;
    if (!waited || deadline_ <= now) deadline_ = now + period_;
    return true;
  }
}

void FramePacer::WaitForDeadlineOrInput(std::int64_t now) {
  const std::int64_t remaining = deadline_ - now;
  // Milliseconds rounded up, plus one: the limit that makes the wait end even if the timer fails.
  const DWORD milliseconds = static_cast<DWORD>((remaining * 1000 + ticksPerSecond_ - 1) / ticksPerSecond_ + 1);
  HANDLE timer = timer_.get();
  if (timer) {
    LARGE_INTEGER due;
    due.QuadPart = -(remaining * 10000000 / ticksPerSecond_);  // relative, in 100 ns units
    if (due.QuadPart == 0) due.QuadPart = -1;
    if (!::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) timer = nullptr;
  }
  ::MsgWaitForMultipleObjectsEx(timer ? 1 : 0, timer ? &timer : nullptr, milliseconds, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

}  // namespace forms
