#include "forms/frame_pacer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

double Seconds() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto toSeconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return toSeconds(kernel) + toSeconds(user);
}

void DrainMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

const auto kAlways = [] { return true; };

TEST(FramePacer, CheapPassesRunAtNoMoreThanSixtyASecondWithoutSpinning) {
  const double cpuBefore = ThreadCpuSeconds();
  const double start = Seconds();
  forms::FramePacer pacer;
  for (int pass = 0; pass < 30; ++pass) ASSERT_TRUE(pacer.EndPass(kAlways));
  const double elapsed = Seconds() - start;
  const double cpu = ThreadCpuSeconds() - cpuBefore;
  EXPECT_GE(elapsed, 0.45);
  EXPECT_LT(cpu, elapsed / 2) << "a busy wait keeps the thread running all the time";
}

// A pass that takes this long, without sleeping: the pacer must see a thread at work.
void WorkFor(double seconds) {
  const double end = Seconds() + seconds;
  while (Seconds() < end) {
  }
}

// One-second frames: a wait that should not happen would reach the next frame's start, far
// beyond what a busy machine delays.
TEST(FramePacer, AnOverrunningPassIsFollowedBeforeTheNextFrameButNotByABurst) {
  forms::FramePacer pacer(1);
  const double start = Seconds();
  WorkFor(1.5);
  ASSERT_TRUE(pacer.EndPass(kAlways));
  EXPECT_LT(Seconds(), start + 2.0) << "it waited after an overrun";

  const double before = Seconds();
  for (int pass = 0; pass < 2; ++pass) ASSERT_TRUE(pacer.EndPass(kAlways));
  EXPECT_GE(Seconds() - before, 2 * 0.999) << "the frames missed are caught up";
}

// A window whose message, posted from another thread while the pacer waits, ends the loop.
class StopWindow {
 public:
  StopWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FramePacerTestStop";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowW(L"FramePacerTestStop", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  }
  ~StopWindow() { ::DestroyWindow(window_); }
  HWND handle() const { return window_; }
  static bool running;
  static double handledAt;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
      running = false;
      handledAt = Seconds();
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_;
};
bool StopWindow::running = true;
double StopWindow::handledAt = 0;

TEST(FramePacer, AMessageThatArrivesDuringTheWaitIsHandledAtOnceAndCanStopTheLoop) {
  StopWindow stop;
  ASSERT_NE(nullptr, stop.handle());
  StopWindow::running = true;
  forms::FramePacer pacer(1);
  HWND target = stop.handle();
  double postedAt = 0;
  std::thread poster([&] {
    postedAt = Seconds();
    ::PostMessageW(target, WM_APP, 0, 0);
  });
  const double start = Seconds();
  const bool result = pacer.EndPass([] { return StopWindow::running; });
  const double returnedAt = Seconds();
  poster.join();

  EXPECT_FALSE(result);
  EXPECT_FALSE(StopWindow::running);
  EXPECT_GE(StopWindow::handledAt, postedAt);
  EXPECT_LT(returnedAt, start + 1.0) << "the message waited for the end of the frame";
}

TEST(FramePacer, StopsWithoutWaitingForTheFrameWhenTheLoopMustEnd) {
  forms::FramePacer pacer(1);
  const double start = Seconds();
  EXPECT_FALSE(pacer.EndPass([] { return false; }));
  ::PostQuitMessage(3);
  EXPECT_FALSE(pacer.EndPass(kAlways));
  EXPECT_LT(Seconds(), start + 1.0);
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) << "the quit message is posted again";
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
  EXPECT_EQ(3u, message.wParam);
  DrainMessages();
}

}  // namespace
