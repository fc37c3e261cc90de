// The pause between two pictures: from the end of one picture's collapse to the first pass of the
// next, everything PrepareNextPicture does for a 12-megapixel JPEG on a 1920 x 1080 screen (load,
// which the loader scales to the screen, snapshot, profile), with the state the display holds from the picture
// before; and the peak working set meanwhile. Run without arguments it makes the picture, then
// measures in a fresh process of its own.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/large_jpeg.h"
#include "display/jagged_profile.h"
#include "display/picture_scaling.h"
#include "display/pixel_grid.h"
#include "display/read_pixels.h"
#include "forms/picture_loader.h"
#include "forms/picture_surface.h"
#include "forms/stirred_random.h"

namespace {

// 16:9 at 12 megapixels, so that the whole picture becomes exactly 1920 x 1080.
constexpr int kPictureWidth = 4608, kPictureHeight = 2592;
constexpr std::int16_t kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kRounds = 5;

// What DisplayForm keeps from one picture to the next.
struct DisplayState {
  forms::PictureSurface Master;
  PixelGrid Pixels;
  JaggedProfile profile;
  StirredRandom random;
};

// Milliseconds spent in each step of one call: the load includes the scaling, which the loader does.
struct StepTimes {
  double load = 0, scale = 0, snapshot = 0, profile = 0;
  double total() const { return load + scale + snapshot + profile; }
};

// The full-screen branch of DisplayForm::PrepareNextPicture, statement for statement, timed step by step.
StepTimes PrepareNextPicture(DisplayState& state, const std::wstring& file) {
  StepTimes times;
  auto mark = std::chrono::steady_clock::now();
  auto lap = [&mark](double& into) {
    const auto now = std::chrono::steady_clock::now();
    into = bench::Milliseconds(now - mark);
    mark = now;
  };
  std::optional<forms::LoadedPicture> Pic_Orgn =
      forms::LoadPictureFile(file, [](std::int32_t width, std::int32_t height) {
        return ShownView(width, height, true, kScreenWidth, kScreenHeight);
      });
  lap(times.load);
  if (Pic_Orgn && state.Master.Resize(Pic_Orgn->width(), Pic_Orgn->height())) {
    ::BitBlt(state.Master.dc(), 0, 0, Pic_Orgn->width(), Pic_Orgn->height(), Pic_Orgn->dc(), 0, 0, SRCCOPY);
  }
  Pic_Orgn.reset();
  ::GdiFlush();
  lap(times.scale);
  state.Pixels = PixelGrid(state.Master.width(), state.Master.height());
  ReadPixels(state.Master, state.Pixels);
  lap(times.snapshot);
  BuildProfile(state.profile, state.Master.width(), state.random);
  lap(times.profile);
  return times;
}

int Measure(const std::wstring& path) {
  bench::PrintMemory("before");
  DisplayState state;
  std::vector<double> times;
  // The first round finds the display empty, as the load handler does; the others find the
  // previous picture still held, as every later cycle does.
  for (int round = 0; round < kRounds; ++round) {
    const StepTimes steps = PrepareNextPicture(state, path);
    times.push_back(steps.total());
    if (state.Master.width() != kScreenWidth || state.Master.height() != kScreenHeight) {
      std::printf("the picture was not prepared at %d x %d\n", kScreenWidth, kScreenHeight);
      return 1;
    }
    std::printf("round %d: %d x %d prepared at %d x %d in %6.1f ms (load %6.1f, scale %5.1f, snapshot %5.1f, "
                "profile %4.1f)\n",
                round + 1, kPictureWidth, kPictureHeight, state.Master.width(), state.Master.height(), steps.total(),
                steps.load, steps.scale, steps.snapshot, steps.profile);
  }
  const PROCESS_MEMORY_COUNTERS held = bench::MemoryCounters();
  std::vector<double> later(times.begin() + 1, times.end());
  std::sort(later.begin(), later.end());
  std::printf("first picture %.1f ms; next picture median %.1f ms, worst %.1f ms (target 212 ms or less)\n",
              times.front(), later[later.size() / 2], later.back());
  std::printf("held between pictures: working set %.1f MiB; peak while preparing %.1f MiB (target 100 MiB or less)\n",
              bench::MiB(held.WorkingSetSize), bench::MiB(held.PeakWorkingSetSize));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) return Measure(argv[1]);
  return bench::MeasureInFreshProcess(kPictureWidth, kPictureHeight, L"rubblit-bench-next-picture.jpg");
}
