// Loading a 12-megapixel JPEG and scaling it for a 1920 x 1080 screen, as the display does with
// every picture: time for the load and for the scale, and the memory the process needed at most.
// Run without arguments it makes the picture, then measures in a fresh process of its own, so
// that the encoder's memory does not count in the peak.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "forms/handles.h"
#include "forms/picture_loader.h"
#include "wine/testbed/picture_files.h"

namespace {

constexpr int kPictureWidth = 4000, kPictureHeight = 3000;
constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kRounds = 5;

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

void PrintMemory(const char* when) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return;
  std::printf("%-22s working set %7.1f MiB (peak %7.1f), pagefile %7.1f MiB (peak %7.1f)\n", when,
              MiB(counters.WorkingSetSize), MiB(counters.PeakWorkingSetSize), MiB(counters.PagefileUsage),
              MiB(counters.PeakPagefileUsage));
}

// Soft gradients with some fine detail, so that the decoder has real work in every block.
std::uint32_t Scenery(int x, int y) {
  int r = (x * 255) / kPictureWidth, g = (y * 255) / kPictureHeight, b = ((x ^ y) & 0x3F) + ((x / 50 + y / 50) % 2) * 128;
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

int Measure(const std::wstring& path) {
  PrintMemory("before");
  std::vector<double> loads, scales;
  for (int round = 0; round < kRounds; ++round) {
    auto started = std::chrono::steady_clock::now();
    auto picture = forms::LoadPictureFile(path);
    auto loaded = std::chrono::steady_clock::now();
    if (!picture) {
      std::printf("the picture did not load\n");
      return 1;
    }
    // The display's full-screen rule: a landscape picture spans the screen's width.
    const int w = picture->width(), h = picture->height();
    const int displayWidth = w > h ? kScreenWidth : w * kScreenHeight / h;
    const int displayHeight = w > h ? h * kScreenWidth / w : kScreenHeight;
    forms::MemoryDC master(picture->dc());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = displayWidth;
    info.bmiHeader.biHeight = displayHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    forms::Bitmap target(::CreateDIBSection(master.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    forms::SelectedObject selected(master.get(), target.get());
    ::SetStretchBltMode(master.get(), COLORONCOLOR);
    ::StretchBlt(master.get(), 0, 0, displayWidth, displayHeight, picture->dc(), 0, 0, w, h, SRCCOPY);
    ::GdiFlush();
    auto scaled = std::chrono::steady_clock::now();
    loads.push_back(Milliseconds(loaded - started));
    scales.push_back(Milliseconds(scaled - loaded));
    std::printf("round %d: %d x %d loaded in %6.1f ms, scaled to %d x %d in %6.1f ms\n", round + 1, w, h,
                loads.back(), displayWidth, displayHeight, scales.back());
    if (round == 0) PrintMemory("after the first round");
  }
  std::sort(loads.begin(), loads.end());
  std::sort(scales.begin(), scales.end());
  std::printf("median: load %.1f ms, scale %.1f ms, together %.1f ms (target under 400 ms)\n", loads[kRounds / 2],
              scales[kRounds / 2], loads[kRounds / 2] + scales[kRounds / 2]);
  PrintMemory("at the end");
  std::printf("(target: peak under 200 MiB)\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) return Measure(argv[1]);

  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"rubblit-bench-12mp.jpg";
  auto started = std::chrono::steady_clock::now();
  const std::string jpeg = testbed::JpegBytes(kPictureWidth, kPictureHeight, Scenery, 90);
  if (jpeg.empty()) {
    std::printf("GDI+ could not make the JPEG\n");
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
  std::printf("made a %d x %d JPEG of %.1f MiB in %.0f ms\n", kPictureWidth, kPictureHeight, MiB(jpeg.size()),
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
