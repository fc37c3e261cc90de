#include "forms/jpeg_eighth_scale.h"

#include <algorithm>
#include <array>
#include <new>

#include "forms/picture_header.h"

namespace forms {
namespace {

constexpr int kFastBits = 10;
// How many rows of MCUs are decoded between two questions whether to go on: a few milliseconds'
// worth in a large photo.
constexpr int kRowsBetweenQuestions = 8;

// A canonical Huffman code: codes of up to kFastBits bits found by one look-up, longer ones by
// length as the standard's decoder does.
struct HuffmanTable {
  bool defined = false;
  std::array<std::uint8_t, 1 << kFastBits> fastSymbol{};
  std::array<std::uint8_t, 1 << kFastBits> fastLength{};  // 0: the code is longer, or there is none
  // For detail coefficients, which are read past: the code and the coefficient's bits together when
  // they fit in kFastBits (0 where not), and how far the position in the block moves (0: to its end).
  std::array<std::uint8_t, 1 << kFastBits> fastSkip{};
  std::array<std::uint8_t, 1 << kFastBits> fastAdvance{};
  std::array<std::int32_t, 17> maxCode{};  // the largest code of each length; -1: none
  std::array<std::int32_t, 17> valueOffset{};
  std::array<std::uint8_t, 256> values{};
};

bool BuildTable(const unsigned char* counts, const unsigned char* symbols, int total, HuffmanTable& table) {
  table = HuffmanTable();
  std::copy(symbols, symbols + total, table.values.begin());
  std::int32_t code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    const int count = counts[length - 1];
    table.valueOffset[length] = k - code;
    for (int i = 0; i < count; ++i, ++code, ++k) {
      // More codes than the length has room for: the table is damaged.
      if (code >= (1 << length)) return false;
      if (length <= kFastBits) {
        const int shift = kFastBits - length;
        for (int fill = 0; fill < (1 << shift); ++fill) {
          table.fastSymbol[(code << shift) | fill] = table.values[k];
          table.fastLength[(code << shift) | fill] = static_cast<std::uint8_t>(length);
        }
      }
    }
    table.maxCode[length] = count ? code - 1 : -1;
    code <<= 1;
  }
  for (std::size_t prefix = 0; prefix < table.fastSkip.size(); ++prefix) {
    const int length = table.fastLength[prefix], run = table.fastSymbol[prefix] >> 4,
              size = table.fastSymbol[prefix] & 15;
    if (length == 0 || length + size > kFastBits) continue;
    table.fastSkip[prefix] = static_cast<std::uint8_t>(length + size);
    table.fastAdvance[prefix] = static_cast<std::uint8_t>(size ? run + 1 : run == 15 ? 16 : 0);
  }
  table.defined = true;
  return true;
}

// The entropy-coded bits of a scan, with the stuffed zero after each 0xFF taken out. At a marker
// or at the end of the data it delivers zeros, and notes when a decoder used any of them.
class BitReader {
 public:
  BitReader(const unsigned char* data, std::size_t size, std::size_t pos) : data_(data), size_(size), pos_(pos) {}

  // Makes sure that the next count bits (at most 57) are in the buffer.
  void Want(int count) {
    if (count_ < count) Fill();
  }
  std::uint32_t Peek(int count) {
    Want(count);
    return static_cast<std::uint32_t>(buffer_ >> (64 - count));
  }
  void Skip(int count) {
    Want(count);
    buffer_ <<= count;
    count_ -= count;
  }
  std::uint32_t Take(int count) {
    if (count == 0) return 0;
    const std::uint32_t bits = Peek(count);
    Skip(count);
    return bits;
  }
  // A Huffman symbol; -1 for a code the table does not have.
  int Decode(const HuffmanTable& table) {
    const std::uint32_t bits = Peek(16);
    const std::uint32_t fast = bits >> (16 - kFastBits);
    if (table.fastLength[fast]) {
      Skip(table.fastLength[fast]);
      return table.fastSymbol[fast];
    }
    for (int length = kFastBits + 1; length <= 16; ++length) {
      const auto code = static_cast<std::int32_t>(bits >> (16 - length));
      if (code <= table.maxCode[length]) {
        Skip(length);
        const std::int32_t index = code + table.valueOffset[length];
        return index >= 0 && index < 256 ? table.values[static_cast<std::size_t>(index)] : -1;
      }
    }
    return -1;
  }
  // After a restart interval: the rest of its last byte is padding, then comes its RSTn marker.
  bool Restart() {
    if (overrun()) return false;
    buffer_ = 0;
    count_ = padding_ = 0;
    pos_ = NextMarker(pos_);
    if (pos_ + 1 >= size_ || data_[pos_ + 1] < 0xD0 || data_[pos_ + 1] > 0xD7) return false;
    pos_ += 2;
    return true;
  }
  // Whether a decoder took bits beyond the data: the made-up zeros lie at the buffer's end.
  bool overrun() const { return count_ < padding_; }
  // Where the data goes on after the bits the decoder took.
  std::size_t position() const { return pos_; }

  // The next marker from pos on: 0xFF followed by neither a stuffed zero nor another 0xFF.
  std::size_t NextMarker(std::size_t pos) const {
    while (pos + 1 < size_ && !(data_[pos] == 0xFF && data_[pos + 1] != 0x00 && data_[pos + 1] != 0xFF)) ++pos;
    return pos + 1 < size_ ? pos : size_;
  }

 private:
  void Fill() {
    while (count_ <= 56) {
      std::uint64_t byte = 0;
      if (pos_ < size_ && data_[pos_] != 0xFF) {
        byte = data_[pos_++];
      } else if (pos_ + 1 < size_ && data_[pos_] == 0xFF && data_[pos_ + 1] == 0x00) {
        byte = 0xFF;
        pos_ += 2;
      } else {
        padding_ += 8;
      }
      buffer_ |= byte << (56 - count_);
      count_ += 8;
    }
  }

  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_;
  std::uint64_t buffer_ = 0;
  int count_ = 0;    // bits in buffer_, from its top
  int padding_ = 0;  // how many made-up zeros went into it: they all come after the data
};

int Extend(std::uint32_t bits, int size) {
  return size == 0 ? 0 : bits < (1u << (size - 1)) ? static_cast<int>(bits) - (1 << size) + 1 : static_cast<int>(bits);
}

struct Component {
  int id = 0;
  int h = 1, v = 1;
  int quantTable = 0;
  int blocksWide = 0, blocksHigh = 0;
  std::vector<std::int32_t> dc;  // the blocks' DC coefficients, blocksWide to a row
  bool decoded = false;
};

class Decoder {
 public:
  Decoder(const unsigned char* bytes, std::size_t size, const std::function<bool()>& keepGoing)
      : data_(bytes), size_(size), keepGoing_(keepGoing) {}

  std::optional<EighthScaleImage> Run() {
    if (size_ < 4 || data_[0] != 0xFF || data_[1] != 0xD8) return std::nullopt;
    std::size_t pos = 2;
    for (;;) {
      // Fill bytes may stand before a marker; anything else between segments is damage.
      if (pos >= size_ || data_[pos] != 0xFF) return std::nullopt;
      while (pos < size_ && data_[pos] == 0xFF) ++pos;
      if (pos >= size_) return std::nullopt;
      const int marker = data_[pos++];
      if (marker == 0xD9) break;
      if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;
      if (pos + 2 > size_) return std::nullopt;
      const std::size_t length = (std::size_t{data_[pos]} << 8) | data_[pos + 1];
      if (length < 2 || pos + length > size_) return std::nullopt;
      const unsigned char* segment = data_ + pos + 2;
      const std::size_t segmentSize = length - 2;
      pos += length;
      bool ok = true;
      switch (marker) {
        case 0xC0:
        case 0xC1:
        case 0xC2:
          ok = ReadFrame(segment, segmentSize, marker == 0xC2);
          break;
        case 0xC4:
          ok = ReadHuffmanTables(segment, segmentSize);
          break;
        case 0xDB:
          ok = ReadQuantTables(segment, segmentSize);
          break;
        case 0xDD:
          ok = segmentSize >= 2;
          if (ok) restartInterval_ = (segment[0] << 8) | segment[1];
          break;
        case 0xEE:
          // Adobe's marker: colour transform 0 means the three components are RGB, not YCbCr.
          if (segmentSize >= 12 && std::equal(segment, segment + 5, "Adobe") && segment[11] == 0) rgb_ = true;
          break;
        case 0xDA:
          ok = ReadScan(segment, segmentSize, pos);
          break;
        default:
          // Other kinds of frame (arithmetic coding, lossless, hierarchical) are left to the full decoder.
          ok = !(marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC);
          break;
      }
      if (!ok) return std::nullopt;
    }
    return Picture();
  }

 private:
  bool ReadFrame(const unsigned char* s, std::size_t size, bool progressive) {
    if (frameRead_ || size < 6 || s[0] != 8) return false;
    height_ = (s[1] << 8) | s[2];
    width_ = (s[3] << 8) | s[4];
    const int count = s[5];
    if (width_ == 0 || height_ == 0 || !FitsDecodeBudget(width_, height_) || (count != 1 && count != 3) ||
        size < 6 + 3 * static_cast<std::size_t>(count)) {
      return false;
    }
    progressive_ = progressive;
    for (int i = 0; i < count; ++i) {
      Component c;
      c.id = s[6 + 3 * i];
      c.h = s[7 + 3 * i] >> 4;
      c.v = s[7 + 3 * i] & 15;
      c.quantTable = s[8 + 3 * i];
      if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quantTable > 3) return false;
      maxH_ = std::max(maxH_, c.h);
      maxV_ = std::max(maxV_, c.v);
      components_.push_back(std::move(c));
    }
    if (count == 3 && components_[0].id == 'R' && components_[1].id == 'G' && components_[2].id == 'B') rgb_ = true;
    mcusWide_ = (width_ + 8 * maxH_ - 1) / (8 * maxH_);
    mcusHigh_ = (height_ + 8 * maxV_ - 1) / (8 * maxV_);
    for (Component& c : components_) {
      c.blocksWide = mcusWide_ * c.h;
      c.blocksHigh = mcusHigh_ * c.v;
      c.dc.assign(static_cast<std::size_t>(c.blocksWide) * static_cast<std::size_t>(c.blocksHigh), 0);
    }
    frameRead_ = true;
    return true;
  }

  bool ReadHuffmanTables(const unsigned char* s, std::size_t size) {
    std::size_t at = 0;
    while (at < size) {
      if (size - at < 17) return false;
      const int kind = s[at] >> 4, slot = s[at] & 15;
      int total = 0;
      for (int i = 1; i <= 16; ++i) total += s[at + static_cast<std::size_t>(i)];
      if (kind > 1 || slot > 3 || total > 256 || size - at - 17 < static_cast<std::size_t>(total)) return false;
      HuffmanTable& table =
          kind == 0 ? dcTables_[static_cast<std::size_t>(slot)] : acTables_[static_cast<std::size_t>(slot)];
      if (!BuildTable(s + at + 1, s + at + 17, total, table)) return false;
      at += 17 + static_cast<std::size_t>(total);
    }
    return true;
  }

  bool ReadQuantTables(const unsigned char* s, std::size_t size) {
    std::size_t at = 0;
    while (at < size) {
      const int precision = s[at] >> 4, slot = s[at] & 15;
      const std::size_t bytes = precision == 0 ? 64 : 128;
      if (precision > 1 || slot > 3 || size - at - 1 < bytes) return false;
      // Only the first value, the DC coefficient's step, matters here.
      dcStep_[static_cast<std::size_t>(slot)] = precision == 0 ? s[at + 1] : (s[at + 1] << 8) | s[at + 2];
      at += 1 + bytes;
    }
    return true;
  }

  bool ReadScan(const unsigned char* s, std::size_t size, std::size_t& pos) {
    if (!frameRead_ || size < 1) return false;
    const std::size_t count = s[0];
    if (count < 1 || count > components_.size() || size < 4 + 2 * count) return false;
    std::vector<ScanComponent> scan;
    for (std::size_t i = 0; i < count; ++i) {
      auto found = std::find_if(components_.begin(), components_.end(),
                                [&](const Component& c) { return c.id == s[1 + 2 * i]; });
      const int dcSlot = s[2 + 2 * i] >> 4, acSlot = s[2 + 2 * i] & 15;
      if (found == components_.end() || dcSlot > 3 || acSlot > 3) return false;
      scan.push_back(
          {&*found, &dcTables_[static_cast<std::size_t>(dcSlot)], &acTables_[static_cast<std::size_t>(acSlot)]});
    }
    const int start = s[1 + 2 * count], end = s[2 + 2 * count];
    const int high = s[3 + 2 * count] >> 4, low = s[3 + 2 * count] & 15;
    BitReader bits(data_, size_, pos);
    // A progressive scan of detail adds nothing to the blocks' means: skipped to its end.
    if (progressive_ && start > 0) {
      pos = bits.NextMarker(pos);
      return true;
    }
    Pass pass;
    if (progressive_) {
      if (end != 0 || low > 13) return false;
      pass = high == 0 ? Pass::FirstDc : Pass::RefineDc;
    } else {
      if (start != 0 || end != 63 || high != 0 || low != 0) return false;
      pass = Pass::Sequential;
    }
    for (const ScanComponent& c : scan) {
      if ((pass != Pass::RefineDc && !c.dcTable->defined) || (pass == Pass::Sequential && !c.acTable->defined)) {
        return false;
      }
      if (pass != Pass::RefineDc) c.component->decoded = true;
    }
    if (!DecodeScan(scan, pass, low, bits) || bits.overrun()) return false;
    pos = bits.NextMarker(bits.position());
    return true;
  }

  enum class Pass { Sequential, FirstDc, RefineDc };
  struct ScanComponent {
    Component* component;
    const HuffmanTable* dcTable;
    const HuffmanTable* acTable;
  };

  bool DecodeScan(std::vector<ScanComponent>& scan, Pass pass, int low, BitReader& bits) {
    // One component alone is coded block by block over its own area; several go by MCU.
    const bool interleaved = scan.size() > 1;
    const Component& only = *scan[0].component;
    const int unitsWide = interleaved ? mcusWide_ : ((width_ * only.h + maxH_ - 1) / maxH_ + 7) / 8;
    const int unitsHigh = interleaved ? mcusHigh_ : ((height_ * only.v + maxV_ - 1) / maxV_ + 7) / 8;
    std::array<int, 4> predictions{};
    const long units = static_cast<long>(unitsWide) * unitsHigh;
    for (long unit = 0; unit < units; ++unit) {
      if (restartInterval_ && unit > 0 && unit % restartInterval_ == 0) {
        if (!bits.Restart()) return false;
        predictions.fill(0);
      }
      const int unitX = static_cast<int>(unit % unitsWide), unitY = static_cast<int>(unit / unitsWide);
      if (unitX == 0 && unitY % kRowsBetweenQuestions == 0 && keepGoing_ && !keepGoing_()) return false;
      for (std::size_t i = 0; i < scan.size(); ++i) {
        Component& c = *scan[i].component;
        const int across = interleaved ? c.h : 1, down = interleaved ? c.v : 1;
        for (int y = 0; y < down; ++y) {
          for (int x = 0; x < across; ++x) {
            const std::size_t block =
                static_cast<std::size_t>(unitY * down + y) * static_cast<std::size_t>(c.blocksWide) +
                static_cast<std::size_t>(unitX * across + x);
            if (block >= c.dc.size() || !DecodeBlock(scan[i], pass, low, predictions[i], c.dc[block], bits)) {
              return false;
            }
          }
        }
      }
    }
    return true;
  }

  static bool DecodeBlock(const ScanComponent& c, Pass pass, int low, int& prediction, std::int32_t& dc,
                          BitReader& bits) {
    if (pass == Pass::RefineDc) {
      if (bits.Take(1)) dc |= 1 << low;
      return true;
    }
    const int size = bits.Decode(*c.dcTable);
    if (size < 0 || size > 11) return false;
    prediction += Extend(bits.Take(size), size);
    dc = prediction * (1 << low);
    // Eight-bit samples keep a block's mean within 11 bits; more is damage.
    if (dc < -2048 || dc > 2047) return false;
    if (pass == Pass::FirstDc) return true;
    // The 63 coefficients of detail are read past.
    const HuffmanTable& ac = *c.acTable;
    for (int k = 1; k < 64;) {
      bits.Want(32);
      const std::uint32_t prefix = bits.Peek(kFastBits);
      if (ac.fastSkip[prefix]) {
        bits.Skip(ac.fastSkip[prefix]);
        if (!ac.fastAdvance[prefix]) break;
        k += ac.fastAdvance[prefix];
        continue;
      }
      const int symbol = bits.Decode(ac);
      if (symbol < 0) return false;
      const int run = symbol >> 4, bitCount = symbol & 15;
      if (bitCount == 0) {
        if (run != 15) break;
        k += 16;
      } else {
        k += run + 1;
        bits.Skip(bitCount);
      }
    }
    return true;
  }

  std::optional<EighthScaleImage> Picture() const {
    if (!frameRead_) return std::nullopt;
    for (const Component& c : components_) {
      if (!c.decoded || dcStep_[static_cast<std::size_t>(c.quantTable)] == 0) return std::nullopt;
    }
    if (rgb_) return std::nullopt;
    EighthScaleImage image;
    image.width = (width_ + 7) / 8;
    image.height = (height_ + 7) / 8;
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    std::array<int, 3> sample{};
    std::uint32_t* out = image.pixels.data();
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        for (std::size_t i = 0; i < components_.size(); ++i) {
          const Component& c = components_[i];
          const std::size_t block = static_cast<std::size_t>(y * c.v / maxV_) * static_cast<std::size_t>(c.blocksWide) +
                                    static_cast<std::size_t>(x * c.h / maxH_);
          // A block's mean is its DC coefficient times the step, over 8 (rounded down from a half,
          // negative values too: the shift is arithmetic).
          const int step = dcStep_[static_cast<std::size_t>(c.quantTable)];
          sample[i] = 128 + ((c.dc[block] * step + 4) >> 3);
        }
        *out++ = components_.size() == 1 ? Grey(sample[0]) : FromYCbCr(sample[0], sample[1], sample[2]);
      }
    }
    return image;
  }

  static std::uint32_t Channel(int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); }
  static std::uint32_t Grey(int y) { return Channel(y) * 0x010101u; }
  // The JFIF conversion, in fixed point with 16 fraction bits.
  static std::uint32_t FromYCbCr(int y, int cb, int cr) {
    cb -= 128;
    cr -= 128;
    const int r = y + ((91881 * cr + 32768) >> 16);
    const int g = y - ((22554 * cb + 46802 * cr + 32768) >> 16);
    const int b = y + ((116130 * cb + 32768) >> 16);
    return (Channel(r) << 16) | (Channel(g) << 8) | Channel(b);
  }

  const unsigned char* data_;
  std::size_t size_;
  const std::function<bool()>& keepGoing_;
  bool frameRead_ = false;
  bool progressive_ = false;
  bool rgb_ = false;
  int width_ = 0, height_ = 0;
  int maxH_ = 1, maxV_ = 1;
  int mcusWide_ = 0, mcusHigh_ = 0;
  int restartInterval_ = 0;
  std::vector<Component> components_;
  std::array<HuffmanTable, 4> dcTables_{};
  std::array<HuffmanTable, 4> acTables_{};
  std::array<int, 4> dcStep_{};
};

}  // namespace

std::optional<EighthScaleImage> DecodeJpegEighthScale(const unsigned char* bytes, std::size_t size,
                                                      const std::function<bool()>& keepGoing) {
  if (!bytes) return std::nullopt;
  try {
    return Decoder(bytes, size, keepGoing).Run();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace forms
