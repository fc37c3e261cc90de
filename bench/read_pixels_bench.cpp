// ReadPixels of a full-HD picture: one transfer and one pass over all pixels, once per picture.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench/stopwatch.h"

#include "display/read_pixels.h"
#include "forms/handles.h"

int main() {
  constexpr int kWidth = 1920, kHeight = 1080, kRuns = 20;
  forms::PictureSurface master;
  if (!master.Resize(kWidth, kHeight)) {
    std::printf("could not make a %d x %d surface\n", kWidth, kHeight);
    return 1;
  }
  for (int band = 0; band < 16; ++band) {
    RECT rect{0, band * kHeight / 16, kWidth, (band + 1) * kHeight / 16};
    const forms::Brush brush(::CreateSolidBrush(RGB(band * 16, 255 - band * 16, 128)));
    ::FillRect(master.dc(), &rect, brush.get());
  }

  std::printf("== ReadPixels of a %d x %d surface, %d runs\n", kWidth, kHeight, kRuns);
  double best = 1e9, total = 0;
  for (int run = 0; run < kRuns; ++run) {
    PixelGrid grid(kWidth, kHeight);  // dimensioned afresh each time, as for every picture
    const double start = bench::Seconds();
    ReadPixels(master, grid);
    const double elapsed = bench::Seconds() - start;
    best = std::min(best, elapsed);
    total += elapsed;
    if (run == 0) {
      const PixelRecord* top = grid.At(0, 1);
      std::printf("check: row 1 is the top band:   %s\n", top && top->Red == 0 && top->Green == 255 ? "yes" : "NO");
    }
  }
  std::printf("best:                           %8.2f ms\n", best * 1000);
  std::printf("mean:                           %8.2f ms\n", total / kRuns * 1000);
  std::printf("target:                         %8.2f ms\n", 30.0);
  return 0;
}
