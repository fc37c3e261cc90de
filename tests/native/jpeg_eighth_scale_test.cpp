#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "forms/jpeg_eighth_scale.h"

namespace {

// How a test JPEG is written: every block carries only its mean (its DC coefficient, from BlockDc,
// at a step of 8, so that a block's samples are 128 + its DC), every detail coefficient zero.
struct JpegPlan {
  int width = 0, height = 0;
  std::vector<int> sampling;  // one byte per component, 0x22 = two by two
  int restart = 0;            // MCUs per restart interval
  bool progressive = false;   // the DC in two scans of successive approximation, then a detail scan
  int frameMarker = 0;        // 0: 0xC0 or 0xC2 as progressive says
  int precision = 8;
  bool restartMarkers = true;
  std::size_t cut = 0;  // bytes cut from the end of the last scan
  bool end = true;      // the end-of-image marker
};

int BlockDc(int component, int x, int y) {
  return component == 0 ? (x * 37 + y * 23) % 100 - 50 : component == 1 ? x * 10 - 20 : 15 - y * 9;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}
std::string Segment(int marker, const std::string& body) {
  const auto size = static_cast<int>(body.size() + 2);
  return Bytes({0xFF, marker, size >> 8, size & 0xFF}) + body;
}

// Entropy-coded bits, most significant first, 0xFF stuffed, the last byte padded with ones.
class Bits {
 public:
  void Put(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      byte_ = (byte_ << 1) | ((value >> i) & 1);
      if (++filled_ == 8) Flush();
    }
  }
  // The DC table below codes each size in four bits, the size itself.
  void PutDc(int difference) {
    int size = 0;
    while ((std::abs(difference) >> size) != 0) ++size;
    Put(static_cast<unsigned>(size), 4);
    Put(static_cast<unsigned>(difference >= 0 ? difference : difference + (1 << size) - 1), size);
  }
  std::string Take() {
    while (filled_) Put(1, 1);
    std::string out;
    out.swap(out_);
    return out;
  }

 private:
  void Flush() {
    out_ += static_cast<char>(byte_);
    if (byte_ == 0xFF) out_ += '\0';
    byte_ = 0;
    filled_ = 0;
  }
  unsigned byte_ = 0;
  int filled_ = 0;
  std::string out_;
};

enum class Pass { Sequential, FirstDc, RefineDc };

std::string Scan(const JpegPlan& plan, Pass pass) {
  const int count = static_cast<int>(plan.sampling.size());
  int maxH = 1, maxV = 1;
  for (int s : plan.sampling) maxH = std::max(maxH, s >> 4), maxV = std::max(maxV, s & 15);
  const bool interleaved = count > 1;
  const int unitsWide = interleaved ? (plan.width + 8 * maxH - 1) / (8 * maxH) : (plan.width + 7) / 8;
  const int unitsHigh = interleaved ? (plan.height + 8 * maxV - 1) / (8 * maxV) : (plan.height + 7) / 8;
  std::string body = Bytes({count});
  for (int c = 0; c < count; ++c) body += Bytes({c + 1, 0x00});
  body += pass == Pass::Sequential ? Bytes({0, 63, 0})
          : pass == Pass::FirstDc  ? Bytes({0, 0, 0x01})
                                   : Bytes({0, 0, 0x10});
  std::string data;
  Bits bits;
  std::vector<int> predictions(static_cast<std::size_t>(count));
  for (int unit = 0; unit < unitsWide * unitsHigh; ++unit) {
    if (plan.restart && unit > 0 && unit % plan.restart == 0) {
      data += bits.Take();
      if (plan.restartMarkers) data += Bytes({0xFF, 0xD0 + (unit / plan.restart - 1) % 8});
      std::fill(predictions.begin(), predictions.end(), 0);
    }
    for (int c = 0; c < count; ++c) {
      const int h = interleaved ? plan.sampling[static_cast<std::size_t>(c)] >> 4 : 1;
      const int v = interleaved ? plan.sampling[static_cast<std::size_t>(c)] & 15 : 1;
      for (int y = 0; y < v; ++y) {
        for (int x = 0; x < h; ++x) {
          const int dc = BlockDc(c, unit % unitsWide * h + x, unit / unitsWide * v + y);
          if (pass == Pass::RefineDc) {
            bits.Put(static_cast<unsigned>(dc & 1), 1);
            continue;
          }
          const int value = pass == Pass::FirstDc ? (dc >= 0 ? dc / 2 : -((1 - dc) / 2)) : dc;
          bits.PutDc(value - predictions[static_cast<std::size_t>(c)]);
          predictions[static_cast<std::size_t>(c)] = value;
          if (pass == Pass::Sequential) bits.Put(0, 1);  // end of block
        }
      }
    }
  }
  return Segment(0xDA, body) + data + bits.Take();
}

std::string Jpeg(const JpegPlan& plan) {
  std::string frame = Bytes({plan.precision, plan.height >> 8, plan.height & 0xFF, plan.width >> 8, plan.width & 0xFF,
                             static_cast<int>(plan.sampling.size())});
  for (std::size_t c = 0; c < plan.sampling.size(); ++c) frame += Bytes({static_cast<int>(c) + 1, plan.sampling[c], 0});
  const int frameMarker = plan.frameMarker ? plan.frameMarker : plan.progressive ? 0xC2 : 0xC0;
  std::string out =
      Bytes({0xFF, 0xD8}) + Segment(0xDB, Bytes({0, 8}) + std::string(63, '\x01')) + Segment(frameMarker, frame) +
      Segment(0xC4,
              Bytes({0x00, 0, 0, 0, 12}) + std::string(12, '\0') + Bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})) +
      Segment(0xC4, Bytes({0x10, 1}) + std::string(15, '\0') + Bytes({0}));
  if (plan.restart) out += Segment(0xDD, Bytes({0, plan.restart}));
  if (plan.progressive) {
    // The detail scan says nothing about the means, whatever its data.
    out +=
        Scan(plan, Pass::FirstDc) + Scan(plan, Pass::RefineDc) + Segment(0xDA, Bytes({1, 1, 0, 1, 63, 0})) + "\x5A\xA5";
  } else {
    out += Scan(plan, Pass::Sequential);
  }
  out.resize(out.size() - plan.cut);
  return plan.end ? out + Bytes({0xFF, 0xD9}) : out;
}

// What each eighth-scale pixel must be: the JFIF colours of its blocks' means.
std::uint32_t Expected(const JpegPlan& plan, int x, int y) {
  int maxH = 1, maxV = 1;
  for (int s : plan.sampling) maxH = std::max(maxH, s >> 4), maxV = std::max(maxV, s & 15);
  double sample[3] = {};
  for (std::size_t c = 0; c < plan.sampling.size(); ++c) {
    sample[c] =
        128 + BlockDc(static_cast<int>(c), x * (plan.sampling[c] >> 4) / maxH, y * (plan.sampling[c] & 15) / maxV);
  }
  if (plan.sampling.size() == 1) sample[1] = sample[2] = 128;
  auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::min(255.0, std::max(0.0, v)))); };
  return channel(sample[0] + 1.402 * (sample[2] - 128)) << 16 |
         channel(sample[0] - 0.344136 * (sample[1] - 128) - 0.714136 * (sample[2] - 128)) << 8 |
         channel(sample[0] + 1.772 * (sample[1] - 128));
}

bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  }
  return true;
}

std::optional<forms::EighthScaleImage> Decode(const std::string& jpeg) {
  return forms::DecodeJpegEighthScale(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
}

}  // namespace

TEST(JpegEighthScale, EachBlockGivesOnePixelOfItsMeanColour) {
  const struct {
    const char* what;
    JpegPlan plan;
  } rows[] = {
      {"grey, partial blocks at the edges", {20, 12, {0x11}}},
      {"colour, chroma halved both ways, a restart after every MCU", {40, 24, {0x22, 0x11, 0x11}, 1}},
      {"colour, progressive with a refined DC and a detail scan", {16, 24, {0x11, 0x11, 0x11}, 0, true}},
  };
  for (const auto& row : rows) {
    const auto image = Decode(Jpeg(row.plan));
    ASSERT_TRUE(image) << row.what;
    ASSERT_EQ(image->width, (row.plan.width + 7) / 8) << row.what;
    ASSERT_EQ(image->height, (row.plan.height + 7) / 8) << row.what;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        const std::uint32_t seen = image->pixels[static_cast<std::size_t>(y * image->width + x)];
        EXPECT_TRUE(Near(seen, Expected(row.plan, x, y)))
            << row.what << " at " << x << "," << y << ": " << std::hex << seen;
      }
    }
  }
}

TEST(JpegEighthScale, LeavesWhatItCannotReadWholeToTheFullDecoder) {
  JpegPlan cut{40, 24, {0x22, 0x11, 0x11}};
  cut.cut = 3;
  JpegPlan unended = cut;
  unended.cut = 0;
  unended.end = false;
  JpegPlan arithmetic{16, 16, {0x11}};
  arithmetic.frameMarker = 0xC9;
  JpegPlan twelveBits{16, 16, {0x11}};
  twelveBits.precision = 12;
  JpegPlan noRestartMarkers{40, 24, {0x22, 0x11, 0x11}, 1};
  noRestartMarkers.restartMarkers = false;
  JpegPlan cmyk{16, 16, {0x11, 0x11, 0x11, 0x11}};
  for (const JpegPlan& plan : {cut, unended, arithmetic, twelveBits, noRestartMarkers, cmyk}) {
    EXPECT_FALSE(Decode(Jpeg(plan))) << plan.width << " x " << plan.height << ", frame " << plan.frameMarker;
  }
  EXPECT_FALSE(Decode(std::string("\xFF\xD8\xFF\xD9", 4)));
}
