// The running saver's memory: its peak working set and peak commit, read from outside while it
// melts the desktop. Run it on a 1920 x 1080 screen.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "bench/running_saver.h"

namespace {

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int main() {
  constexpr DWORD kRunMs = 10000;
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  std::printf("== The running saver's memory, screen %d x %d, Speed 1, the desktop melting\n", width, height);
  bench::RunningSaver saver;
  if (!saver.ready()) {
    std::printf("rubblit.scr /s did not start with its window\n");
    return 1;
  }
  // The three screen-sized buffers and the snapshot are made before the window shows; the loop
  // should add nothing after that.
  PROCESS_MEMORY_COUNTERS shown, later;
  const bool first = saver.Memory(shown);
  ::Sleep(kRunMs);
  const bool second = saver.Memory(later);
  if (!first || !second || !saver.stillRunning()) {
    std::printf("could not read the saver's memory%s\n", saver.stillRunning() ? "" : ": it ended early");
    return 1;
  }
  std::printf("                       window shown    after %lu s\n", kRunMs / 1000);
  std::printf("working set            %8.1f MiB    %8.1f MiB\n", MiB(shown.WorkingSetSize), MiB(later.WorkingSetSize));
  std::printf("peak working set       %8.1f MiB    %8.1f MiB\n", MiB(shown.PeakWorkingSetSize),
              MiB(later.PeakWorkingSetSize));
  std::printf("commit (pagefile)      %8.1f MiB    %8.1f MiB\n", MiB(shown.PagefileUsage), MiB(later.PagefileUsage));
  std::printf("peak commit            %8.1f MiB    %8.1f MiB\n", MiB(shown.PeakPagefileUsage),
              MiB(later.PeakPagefileUsage));
  std::printf("one screen-sized 32-bit buffer: %.1f MiB\n", MiB(static_cast<SIZE_T>(width) * height * 4));
  return 0;
}
