// The saver as the system runs it, for the benchmarks that watch it from outside: rubblit.scr /s
// copied into a folder of its own with a settings file of Speed 1 and no picture folder, so that
// it melts the desktop. The process is queried for its CPU time and memory while it runs.
#pragma once

#include "bench/stopwatch.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

#include "forms/handles.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/temp_folder.h"

namespace bench {

class RunningSaver {
 public:
  // Returns once the saver shows its window: its picture and buffers are ready then, and the
  // animation starts.
  RunningSaver() : saver_(StartSaver(folder_)) {
    if (!saver_.started()) return;
    HWND window = saver_.WaitForWindow(L"Rubblit(main)", 30000);
    for (int waited = 0; window && !::IsWindowVisible(window) && waited < 30000; waited += 10) ::Sleep(10);
    if (window && ::IsWindowVisible(window)) {
      process_ = forms::KernelHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, saver_.id()));
    }
  }
  RunningSaver(const RunningSaver&) = delete;
  RunningSaver& operator=(const RunningSaver&) = delete;

  // Running, with its window up and the process open for queries.
  bool ready() const { return process_ && !saver_.WaitForExit(0); }
  bool stillRunning() const { return !saver_.WaitForExit(0); }

  // Kernel and user time the process's threads have used so far. Summed over the threads: Wine
  // reports no time for another process as a whole, but does for each of its threads.
  double CpuSeconds() const {
    double ticks = 0;
    const forms::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry)) {
      if (entry.th32OwnerProcessID != saver_.id()) continue;
      const forms::KernelHandle thread(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
      FILETIME created, exited, kernel, user;
      if (thread && ::GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) {
        ticks += Ticks(kernel) + Ticks(user);
      }
    }
    return ticks / 1e7;
  }

  bool Memory(PROCESS_MEMORY_COUNTERS& counters) const {
    counters = {};
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(process_.get(), &counters, sizeof counters) != 0;
  }

 private:
  static double Ticks(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  }
  static testbed::SaverProcess StartSaver(const testbed::TempFolder& folder) {
    // "[Section]" with "速さ" = 1, in Shift_JIS as the settings dialog writes it.
    folder.WriteBytes(L"Rubblit.ini", "[Section]\r\n\x91\xac\x82\xb3=1\r\n");
    return testbed::SaverProcess(folder.CopySaverHere(), L"/s");
  }

  testbed::TempFolder folder_;
  testbed::SaverProcess saver_;
  forms::KernelHandle process_;
};

}  // namespace bench
