// Loading a 12-megapixel JPEG whole at its own size and then scaling it for a 1920 x 1080 screen
// with GDI: time for the load and for the scale, and the memory the process needed at most. (The
// display has the loader scale while it decodes; next_picture_bench measures that.)
// Run without arguments it makes the picture, then measures in a fresh process of its own, so
// that the encoder's memory does not count in the peak.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/large_jpeg.h"
#include "forms/handles.h"
#include "forms/picture_loader.h"

using bench::Milliseconds;
using bench::PrintMemory;

namespace {

constexpr int kPictureWidth = 4000, kPictureHeight = 3000;
constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kRounds = 5;

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
  return bench::MeasureInFreshProcess(kPictureWidth, kPictureHeight, L"rubblit-bench-12mp.jpg");
}
