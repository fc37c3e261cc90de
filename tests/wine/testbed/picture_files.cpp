#include "wine/testbed/picture_files.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <stdexcept>

#include "forms/handles.h"

namespace testbed {
namespace {

void PutU16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void SetU16(std::string& bytes, std::size_t at, unsigned value) {
  bytes.at(at) = static_cast<char>(value & 0xFF);
  bytes.at(at + 1) = static_cast<char>((value >> 8) & 0xFF);
}

// The distinct colours of a picture in order of first appearance, at most limit of them.
std::vector<std::uint32_t> Palette(int width, int height, const PixelColour& colour, std::size_t limit) {
  std::vector<std::uint32_t> palette;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = colour(x, y);
      if (std::find(palette.begin(), palette.end(), c) != palette.end()) continue;
      if (palette.size() == limit) throw std::invalid_argument("too many colours for the palette");
      palette.push_back(c);
    }
  }
  return palette;
}

std::uint8_t IndexOf(const std::vector<std::uint32_t>& palette, std::uint32_t c) {
  return static_cast<std::uint8_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
}

// LZW data of single-pixel codes of 3 bits, packed least significant bit first. A clear code
// before every second pixel stops the decoder's table, and so the code width, from growing.
std::string GifImageData(const std::vector<std::uint8_t>& indexes) {
  const unsigned clear = 4, end = 5;
  std::string packed;
  unsigned accumulator = 0;
  int filled = 0;
  auto put = [&](unsigned code) {
    accumulator |= code << filled;
    for (filled += 3; filled >= 8; filled -= 8, accumulator >>= 8) packed += static_cast<char>(accumulator & 0xFF);
  };
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    if (i % 2 == 0) put(clear);
    put(indexes[i]);
  }
  put(end);
  if (filled > 0) packed += static_cast<char>(accumulator & 0xFF);
  std::string out(1, '\2');  // minimum code size
  for (std::size_t at = 0; at < packed.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
    out += static_cast<char>(length) + packed.substr(at, length);
  }
  return out + '\0';
}

std::string StreamBytes(IStream* stream) {
  STATSTG stat = {};
  LARGE_INTEGER start = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return {};
  std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read))) return {};
  bytes.resize(read);
  return bytes;
}

// GDI+'s flat interface, reached at run time so that nothing that links the test bed needs its
// import library.
std::string EncodeJpeg(int width, int height, std::vector<std::uint32_t>& pixels, int quality) {
  using namespace Gdiplus;
  forms::Library library(L"gdiplus.dll");
  auto startup = library.procedure<Status(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, GdiplusStartupOutput*)>(
      "GdiplusStartup");
  auto shutdown = library.procedure<void(WINAPI*)(ULONG_PTR)>("GdiplusShutdown");
  auto createBitmap =
      library.procedure<Status(WINAPI*)(INT, INT, INT, PixelFormat, BYTE*, GpBitmap**)>("GdipCreateBitmapFromScan0");
  auto encodersSize = library.procedure<Status(WINAPI*)(UINT*, UINT*)>("GdipGetImageEncodersSize");
  auto encoders = library.procedure<Status(WINAPI*)(UINT, UINT, ImageCodecInfo*)>("GdipGetImageEncoders");
  auto save = library.procedure<Status(WINAPI*)(GpImage*, IStream*, const CLSID*, const EncoderParameters*)>(
      "GdipSaveImageToStream");
  auto dispose = library.procedure<Status(WINAPI*)(GpImage*)>("GdipDisposeImage");
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (!startup || !shutdown || !createBitmap || !encodersSize || !encoders || !save || !dispose ||
      startup(&token, &input, nullptr) != Ok) {
    return {};
  }
  std::string bytes;
  UINT count = 0, size = 0;
  encodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  const CLSID* jpeg = nullptr;
  if (size > 0 && encoders(count, size, codecs) == Ok) {
    for (UINT i = 0; i < count; ++i) {
      if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/jpeg") jpeg = &codecs[i].Clsid;
    }
  }
  GpBitmap* bitmap = nullptr;
  forms::ComPtr<IStream> stream;
  if (jpeg && SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
      createBitmap(width, height, width * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(pixels.data()), &bitmap) ==
          Ok) {
    ULONG value = static_cast<ULONG>(quality);
    EncoderParameters parameters;
    parameters.Count = 1;
    // EncoderQuality, 1d5be4b5-fa4a-452d-9cdd-5db35105e7eb
    parameters.Parameter[0].Guid = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &value;
    auto* image = reinterpret_cast<GpImage*>(bitmap);
    if (save(image, stream.get(), jpeg, &parameters) == Ok || save(image, stream.get(), jpeg, nullptr) == Ok) {
      bytes = StreamBytes(stream.get());
    }
    dispose(image);
  }
  shutdown(token);
  return bytes;
}

// A closed metafile, deleted with DeleteMetaFile.
class Metafile {
 public:
  explicit Metafile(HMETAFILE handle) : handle_(handle) {}
  ~Metafile() {
    if (handle_) ::DeleteMetaFile(handle_);
  }
  Metafile(const Metafile&) = delete;
  Metafile& operator=(const Metafile&) = delete;
  HMETAFILE get() const { return handle_; }

 private:
  HMETAFILE handle_;
};

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

PixelColour TwoBands(std::uint32_t top, std::uint32_t bottom, int height) {
  return [=](int, int y) { return y < height / 2 ? top : bottom; };
}

std::string BmpBytes(int width, int height, int bitsPerPixel, const PixelColour& colour) {
  std::vector<std::uint32_t> palette;
  if (bitsPerPixel != 24) palette = Palette(width, height, colour, std::size_t{1} << bitsPerPixel);
  palette.resize(bitsPerPixel == 24 ? 0 : std::size_t{1} << bitsPerPixel);
  const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
  const std::size_t offset = 14 + 40 + palette.size() * 4;
  const std::size_t total = offset + rowBytes * height;

  std::string out = "BM";
  PutU32(out, static_cast<std::uint32_t>(total));
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(offset));
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, static_cast<unsigned>(bitsPerPixel));
  PutU32(out, 0);  // BI_RGB
  PutU32(out, static_cast<std::uint32_t>(rowBytes * height));
  PutU32(out, 3780);  // 96 dpi in pixels per metre
  PutU32(out, 3780);
  PutU32(out, static_cast<std::uint32_t>(palette.size()));
  PutU32(out, 0);
  for (std::uint32_t c : palette) PutU32(out, c);  // B, G, R, 0 in file order
  for (int y = height - 1; y >= 0; --y) {          // rows bottom first
    std::string row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = colour(x, y);
      if (bitsPerPixel == 24) {
        row[x * 3] = static_cast<char>(c & 0xFF);
        row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
        row[x * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
      } else if (bitsPerPixel == 8) {
        row[x] = static_cast<char>(IndexOf(palette, c));
      } else if (IndexOf(palette, c) == 1) {
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
      }
    }
    out += row;
  }
  return out;
}

std::string GifBytes(int width, int height, const PixelColour& colour) {
  std::vector<std::uint32_t> palette = Palette(width, height, colour, 4);
  palette.resize(4);
  std::string out = "GIF89a";
  PutU16(out, static_cast<unsigned>(width));
  PutU16(out, static_cast<unsigned>(height));
  out += std::string(3, '\0');  // no global colour table
  out += '\x2C';
  PutU32(out, 0);  // at (0, 0)
  PutU16(out, static_cast<unsigned>(width));
  PutU16(out, static_cast<unsigned>(height));
  out += '\x81';  // a local table of 4 colours
  for (std::uint32_t c : palette) {
    out += static_cast<char>((c >> 16) & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
    out += static_cast<char>(c & 0xFF);
  }
  std::vector<std::uint8_t> indexes;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) indexes.push_back(IndexOf(palette, colour(x, y)));
  }
  return out + GifImageData(indexes) + '\x3B';
}

std::string JpegBytes(int width, int height, const PixelColour& colour, int quality) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = colour(x, y);
  }
  forms::ComApartment apartment;
  return EncodeJpeg(width, height, pixels, quality);
}

std::string MetafileBytes(int widthUnits, int heightUnits, int unitsPerInch, std::uint32_t top, std::uint32_t bottom) {
  HDC recorder = ::CreateMetaFileW(nullptr);
  if (!recorder) return {};
  // Real metafiles set their own window; the player maps it onto the target rectangle.
  ::SetWindowOrgEx(recorder, 0, 0, nullptr);
  ::SetWindowExtEx(recorder, widthUnits, heightUnits, nullptr);
  forms::Brush topBrush(::CreateSolidBrush(ToColorRef(top)));
  forms::Brush bottomBrush(::CreateSolidBrush(ToColorRef(bottom)));
  ::SelectObject(recorder, topBrush.get());
  ::PatBlt(recorder, 0, 0, widthUnits, heightUnits / 2, PATCOPY);
  ::SelectObject(recorder, bottomBrush.get());
  ::PatBlt(recorder, 0, heightUnits / 2, widthUnits, heightUnits - heightUnits / 2, PATCOPY);
  Metafile metafile(::CloseMetaFile(recorder));
  if (!metafile.get()) return {};
  UINT size = ::GetMetaFileBitsEx(metafile.get(), 0, nullptr);
  std::string records(size, '\0');
  if (size == 0 || ::GetMetaFileBitsEx(metafile.get(), size, records.data()) != size) return {};

  std::string header;
  PutU32(header, 0x9AC6CDD7);
  PutU16(header, 0);
  PutU16(header, 0);
  PutU16(header, 0);
  PutU16(header, static_cast<unsigned>(widthUnits));
  PutU16(header, static_cast<unsigned>(heightUnits));
  PutU16(header, static_cast<unsigned>(unitsPerInch));
  PutU32(header, 0);
  unsigned checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<unsigned char>(header[i]) | (static_cast<unsigned char>(header[i + 1]) << 8);
  }
  PutU16(header, checksum);
  return header + records;
}

std::string Flipped(const std::string& bytes, std::size_t from, std::size_t count) {
  std::string out = bytes;
  for (std::size_t i = from; i < from + count && i < out.size(); ++i) out[i] = static_cast<char>(~out[i]);
  return out;
}

std::string BmpClaimingSize(std::int32_t width, std::int32_t height) {
  std::string out = BmpBytes(4, 4, 24, [](int, int) { return 0x336699u; });
  SetU16(out, 18, static_cast<std::uint32_t>(width) & 0xFFFF);
  SetU16(out, 20, static_cast<std::uint32_t>(width) >> 16);
  SetU16(out, 22, static_cast<std::uint32_t>(height) & 0xFFFF);
  SetU16(out, 24, static_cast<std::uint32_t>(height) >> 16);
  return out;
}

std::string WithGifScreenSize(std::string gif, int width, int height) {
  SetU16(gif, 6, static_cast<unsigned>(width));
  SetU16(gif, 8, static_cast<unsigned>(height));
  return gif;
}

std::string WithJpegFrameSize(std::string jpeg, int width, int height) {
  for (std::size_t at = 2; at + 8 < jpeg.size();) {
    auto marker = static_cast<unsigned char>(jpeg[at + 1]);
    std::size_t length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xC0 || marker == 0xC2) {
      jpeg[at + 5] = static_cast<char>(height >> 8);
      jpeg[at + 6] = static_cast<char>(height & 0xFF);
      jpeg[at + 7] = static_cast<char>(width >> 8);
      jpeg[at + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
    at += 2 + length;
  }
  throw std::invalid_argument("no frame header");
}

}  // namespace testbed
