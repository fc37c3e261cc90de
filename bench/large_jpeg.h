// The large JPEG of the picture benchmarks, and the way they measure it: the picture is made with
// the tests' maker, then measured in a fresh process of the same benchmark, so that the encoder's
// memory does not count in the peak.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "forms/handles.h"
#include "wine/testbed/picture_files.h"

namespace bench {

inline double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

inline double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

inline PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters;
}

inline void PrintMemory(const char* when) {
  const PROCESS_MEMORY_COUNTERS counters = MemoryCounters();
  std::printf("%-22s working set %7.1f MiB (peak %7.1f), pagefile %7.1f MiB (peak %7.1f)\n", when,
              MiB(counters.WorkingSetSize), MiB(counters.PeakWorkingSetSize), MiB(counters.PagefileUsage),
              MiB(counters.PeakPagefileUsage));
}

// Soft gradients with some fine detail, so that the decoder has real work in every block.
inline testbed::PixelColour Scenery(int width, int height) {
  return [width, height](int x, int y) {
    const int r = (x * 255) / width, g = (y * 255) / height;
    const int b = ((x ^ y) & 0x3F) + ((x / 50 + y / 50) % 2) * 128;
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
  };
}

// Writes a width x height JPEG of the scenery into the temporary folder under fileName, runs this
// executable again with the file's path as its only argument, and deletes the file. The result is
// the measuring process's exit code.
inline int MeasureInFreshProcess(int width, int height, const wchar_t* fileName) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + fileName;
  const auto started = std::chrono::steady_clock::now();
  const std::string jpeg = testbed::JpegBytes(width, height, Scenery(width, height), 90);
  if (jpeg.empty()) {
    std::printf("the imaging component could not make the JPEG\n");
    return 1;
  }
  {
    forms::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), jpeg.data(), static_cast<DWORD>(jpeg.size()), &written, nullptr) ||
        written != jpeg.size()) {
      std::printf("cannot write %ls\n", path.c_str());
      return 1;
    }
  }
  std::printf("made a %d x %d JPEG of %.1f MiB in %.0f ms\n", width, height, MiB(jpeg.size()),
              Milliseconds(std::chrono::steady_clock::now() - started));
  std::fflush(stdout);

  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" \"" + path + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  DWORD exitCode = 1;
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    forms::KernelHandle processHandle(process.hProcess), thread(process.hThread);
    ::WaitForSingleObject(processHandle.get(), INFINITE);
    ::GetExitCodeProcess(processHandle.get(), &exitCode);
  }
  ::DeleteFileW(path.c_str());
  return static_cast<int>(exitCode);
}

}  // namespace bench
