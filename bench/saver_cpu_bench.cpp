// What the running saver costs the machine: the share of one core that the paced animation uses
// over 20 s, measured on the real saver process from outside, and the same loop in this process
// paced and left unpaced, measured on its thread. Run it on a 1024 x 768 screen, and on two monitors
// of that size.
#include <windows.h>

#include <cstdio>

#include "bench/running_saver.h"
#include "display/display_form.h"
#include "forms/frame_pacer.h"
#include "common/common_module.h"

namespace {

constexpr DWORD kWarmUpMs = 1000;
constexpr DWORD kMeasureMs = 20000;

double Percent(double cpuSeconds, double wallSeconds) { return wallSeconds > 0 ? 100 * cpuSeconds / wallSeconds : 0; }

void MeasureSaverProcess() {
  bench::RunningSaver saver;
  if (!saver.ready()) {
    std::printf("rubblit.scr /s      did not start with its window\n");
    return;
  }
  ::Sleep(kWarmUpMs);
  const double cpuStart = saver.CpuSeconds(), wallStart = bench::Seconds();
  ::Sleep(kMeasureMs);
  const double cpu = saver.CpuSeconds() - cpuStart, wall = bench::Seconds() - wallStart;
  std::printf("rubblit.scr /s      paced at %d/s   %6.1f %% of one core (%.2f s of CPU in %.1f s)%s\n",
              forms::FramePacer::kFramesPerSecond, Percent(cpu, wall), cpu, wall,
              saver.stillRunning() ? "" : "  -- it ended early");
}

// The loop in this process: a thread timer takes the first sample once the saver is running and
// the last one 20 s later, then closes the saver's window, which stops the loop.
struct InProcessRun {
  static InProcessRun* current;
  double cpuStart = 0, wallStart = 0, cpu = 0, wall = 0;
  bool started = false, finished = false;

  static double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return -1;
    auto ticks = [](const FILETIME& t) {
      return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e7;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    InProcessRun& run = *current;
    if (!run.started) {
      run.started = true;
      run.cpuStart = ThreadCpuSeconds();
      run.wallStart = bench::Seconds();
      ::SetTimer(nullptr, timer, kMeasureMs, Tick);
      return;
    }
    ::KillTimer(nullptr, timer);
    run.cpu = ThreadCpuSeconds() - run.cpuStart;
    run.wall = bench::Seconds() - run.wallStart;
    run.finished = true;
    if (HWND window = ::FindWindowW(nullptr, L"Rubblit(main)")) ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
};
InProcessRun* InProcessRun::current = nullptr;

void MeasureInProcess(const char* label, int passesPerSecond) {
  CommonModule common;
  common.settings.Speed = 1;
  InProcessRun run;
  InProcessRun::current = &run;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kWarmUpMs, InProcessRun::Tick);
  LoadDisplayForm(common, passesPerSecond);
  if (!run.finished) {
    ::KillTimer(nullptr, timer);
    std::printf("%-19s did not run for the whole time\n", label);
    return;
  }
  std::printf("%-19s %6.1f %% of one core (%.2f s of CPU in %.1f s)\n", label, Percent(run.cpu, run.wall), run.cpu,
              run.wall);
}

}  // namespace

int main() {
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  std::printf("== The running saver's CPU use over %lu s, %d monitor(s), virtual screen %d x %d, Speed 1, the "
              "desktop melting\n",
              kMeasureMs / 1000, ::GetSystemMetrics(SM_CMONITORS), width, height);
  MeasureSaverProcess();
  MeasureInProcess("in process, paced", forms::FramePacer::kFramesPerSecond);
  MeasureInProcess("in process, unpaced", 1000000);
  std::printf("target, paced:        30.0 %% of one core\n");
  return 0;
}
