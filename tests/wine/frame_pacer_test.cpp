#include "forms/frame_pacer.h"

#include <gtest/gtest.h>

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
