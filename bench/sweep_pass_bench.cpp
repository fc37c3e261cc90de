// One pass of the sweep, the loop's work between two yields: every column of the picture, each
// line written into a 32-bit buffer. Both phases at full HD and at 4K, Speed 1, one pass timed at
// a time; the same code runs natively and under Wine.
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "bench/sweep_fixture.h"

namespace {

// Lines into a plain top-down 32-bit buffer, clipped as the saver's surface clips them.
class BufferSink : public LineSink {
 public:
  BufferSink(std::int32_t width, std::int32_t height)
      : width_(width), height_(height), bits_(static_cast<size_t>(width) * height, 0) {}
  void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) override {
    if (column < 0 || column >= width_) return;
    if (fromRow > toRow) std::swap(fromRow, toRow);
    fromRow = std::max(fromRow, 0);
    toRow = std::min(toRow, height_ - 1);
    const std::uint32_t value =
        colour.Blue | (colour.Green << 8) | (static_cast<std::uint32_t>(colour.Red) << 16);
    std::uint32_t* pixel = bits_.data() + static_cast<size_t>(fromRow) * width_ + column;
    for (std::int32_t row = fromRow; row <= toRow; ++row, pixel += width_) *pixel = value;
    ++lines_;
  }
  long long lines() const { return lines_; }
  // Keeps the compiler from dropping the writes.
  std::uint32_t Checksum() const {
    std::uint32_t sum = 0;
    for (size_t i = 0; i < bits_.size(); i += 4093) sum = sum * 31 + bits_[i];
    return sum;
  }

 private:
  std::int32_t width_, height_;
  std::vector<std::uint32_t> bits_;
  long long lines_ = 0;
};

void RunSize(std::int32_t width, std::int32_t height) {
  bench::Picture picture(width, height);
  BufferSink sink(width, height);
  const SweepInput input = picture.Input(1);
  std::printf("== %d x %d, Speed 1, profile %d .. %d\n", width, height, picture.Profile.ProfileMin,
              picture.Profile.ProfileMax);
  for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
    bench::PassTimes times;
    SweepState state;
    double passStart = bench::Milliseconds();
    const long long linesBefore = sink.lines();
    RunSweep(phase, input, state, sink, [&] {
      const double now = bench::Milliseconds();
      times.Samples.push_back(now - passStart);
      passStart = now;
      return true;
    });
    std::printf("%-9s passes %5zu  lines %9lld  mean %7.3f ms  worst %7.3f ms  (target at full HD: 4 ms)\n",
                bench::PhaseName(phase), times.Samples.size(), sink.lines() - linesBefore, times.Mean(),
                times.Worst());
  }
  std::printf("checksum %08x\n\n", sink.Checksum());
}

}  // namespace

int main() {
  RunSize(1920, 1080);
  RunSize(3840, 2160);
  return 0;
}
