#include "forms/frame_pacer.h"

#include <gtest/gtest.h>

namespace {

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  EXPECT_TRUE(::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user));
  const auto ticks = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;  // 100 ns ticks
}

TEST(FramePacer, PacesCheapPassesToSixtyASecondWithoutSpinningAndStopsWhenTheLoopMustEnd) {
  const auto always = [] { return true; };
  const double cpuBefore = ThreadCpuSeconds();
  const DWORD start = ::GetTickCount();
  forms::FramePacer pacer;
  for (int pass = 0; pass < 30; ++pass) ASSERT_TRUE(pacer.EndPass(always));
  const double elapsed = (::GetTickCount() - start) / 1000.0;
  const double cpu = ThreadCpuSeconds() - cpuBefore;
  EXPECT_GE(elapsed, 0.45);
  EXPECT_LT(cpu, elapsed / 2) << "a busy wait keeps the thread running all the time";

  EXPECT_FALSE(pacer.EndPass([] { return false; }));
  ::PostQuitMessage(3);
  EXPECT_FALSE(pacer.EndPass(always));
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) << "the quit message is posted again";
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
  EXPECT_EQ(3u, message.wParam);
}

}  // namespace
