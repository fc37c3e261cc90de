#include "wine/testbed/picture_files.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "forms/handles.h"

namespace testbed {
namespace {

// Writes value's size lowest bytes at at, least significant first.
void Put(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The picture encoded by the platform's imaging component. With 1 or 8 bits per pixel the pixels go
// in as indexes into a palette of the picture's own colours, so that the file holds them exactly.
// quality, from 0 to 100, only for JPEG.
std::string Encode(const GUID& container, int width, int height, int bitsPerPixel, const PixelColour& colour,
                   int quality = -1) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 7) / 8;
  std::vector<BYTE> pixels(stride * height);
  std::vector<WICColor> palette;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      BYTE* at = &pixels[y * stride + x * bitsPerPixel / 8];
      if (bitsPerPixel == 24) {
        std::memcpy(at, &c, 3);  // 0x00RRGGBB is blue, green, red in memory
        continue;
      }
      auto entry = std::find(palette.begin(), palette.end(), 0xFF000000 | c);
      if (entry == palette.end()) entry = palette.insert(palette.end(), 0xFF000000 | c);
      *at |= static_cast<BYTE>((entry - palette.begin()) << (8 - bitsPerPixel - x * bitsPerPixel % 8));
    }
  }
  if (bitsPerPixel < 24 && palette.size() > 1u << bitsPerPixel) throw std::invalid_argument("too many colours");
  WICPixelFormatGUID format = bitsPerPixel == 1   ? GUID_WICPixelFormat1bppIndexed
                              : bitsPerPixel == 8 ? GUID_WICPixelFormat8bppIndexed
                                                  : GUID_WICPixelFormat24bppBGR;
  forms::ComApartment apartment;
  forms::ComPtr<IWICImagingFactory> factory;
  forms::ComPtr<IWICPalette> colours;
  forms::ComPtr<IStream> stream;
  forms::ComPtr<IWICBitmapEncoder> encoder;
  forms::ComPtr<IWICBitmapFrameEncode> frame;
  forms::ComPtr<IPropertyBag2> options;
  PROPBAG2 option = {};
  option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
  VARIANT value = {};
  value.vt = VT_R4;
  value.fltVal = static_cast<float>(quality) / 100;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))) ||
      FAILED(factory->CreatePalette(colours.put())) ||
      (!palette.empty() && FAILED(colours->InitializeCustom(palette.data(), static_cast<UINT>(palette.size())))) ||
      FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
      FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
      (quality >= 0 && FAILED(options->Write(1, &option, &value))) || FAILED(frame->Initialize(options.get())) ||
      FAILED(frame->SetSize(width, height)) || (!palette.empty() && FAILED(frame->SetPalette(colours.get()))) ||
      FAILED(frame->SetPixelFormat(&format)) ||
      FAILED(frame->WritePixels(height, static_cast<UINT>(stride), static_cast<UINT>(pixels.size()), pixels.data())) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    return {};
  }
  STATSTG stat = {};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(::GetHGlobalFromStream(stream.get(), &memory))) return {};
  const std::string bytes(static_cast<const char*>(::GlobalLock(memory)),
                          static_cast<std::size_t>(stat.cbSize.QuadPart));
  ::GlobalUnlock(memory);
  return bytes;
}

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

PixelColour TwoBands(std::uint32_t top, std::uint32_t bottom, int height) {
  return [=](int, int y) { return y < height / 2 ? top : bottom; };
}

std::string BmpBytes(int width, int height, int bitsPerPixel, const PixelColour& colour) {
  std::string bmp = Encode(GUID_ContainerFormatBmp, width, height, bitsPerPixel, colour);
  // Wine's encoder leaves the colour table out of the file size.
  if (!bmp.empty()) Put(bmp, 2, static_cast<std::uint32_t>(bmp.size()), 4);
  return bmp;
}

std::string GifBytes(int width, int height, const PixelColour& colour) {
  return Encode(GUID_ContainerFormatGif, width, height, 8, colour);
}

std::string JpegBytes(int width, int height, const PixelColour& colour, int quality) {
  return Encode(GUID_ContainerFormatJpeg, width, height, 24, colour, quality);
}

std::string MetafileBytes(int widthUnits, int heightUnits, int unitsPerInch, std::uint32_t top, std::uint32_t bottom) {
  HDC recorder = ::CreateMetaFileW(nullptr);
  if (!recorder) return {};
  // Real metafiles set their own window; the player maps it onto the bounding box.
  ::SetWindowOrgEx(recorder, 0, 0, nullptr);
  ::SetWindowExtEx(recorder, 1, 2, nullptr);
  for (int band = 0; band < 2; ++band) {
    const RECT rect = {0, band, 1, band + 1};
    ::SetBkColor(recorder, ToColorRef(band == 0 ? top : bottom));
    ::ExtTextOutW(recorder, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  }
  const std::unique_ptr<std::remove_pointer_t<HMETAFILE>, decltype(&::DeleteMetaFile)> metafile(
      ::CloseMetaFile(recorder), &::DeleteMetaFile);
  const UINT size = metafile ? ::GetMetaFileBitsEx(metafile.get(), 0, nullptr) : 0;
  std::string records(size, '\0');
  if (size == 0 || ::GetMetaFileBitsEx(metafile.get(), size, records.data()) != size) return {};

  // The placeable header: key, handle, bounding box, units per inch, reserved, and the checksum,
  // the exclusive or of the words before it.
  const auto w = static_cast<unsigned>(widthUnits), h = static_cast<unsigned>(heightUnits),
             inch = static_cast<unsigned>(unitsPerInch);
  const unsigned words[] = {0xCDD7, 0x9AC6, 0, 0, 0, w, h, inch, 0, 0, 0xCDD7 ^ 0x9AC6 ^ w ^ h ^ inch};
  std::string header(22, '\0');
  for (int i = 0; i < 11; ++i) Put(header, 2 * i, words[i], 2);
  return header + records;
}

std::string Flipped(const std::string& bytes, std::size_t from, std::size_t count) {
  std::string out = bytes;
  for (std::size_t i = from; i < from + count && i < out.size(); ++i) out[i] = static_cast<char>(~out[i]);
  return out;
}

std::string BmpClaimingSize(std::int32_t width, std::int32_t height) {
  std::string out = BmpBytes(4, 4, 24, [](int, int) { return 0x336699u; });
  Put(out, 18, static_cast<std::uint32_t>(width), 4);
  Put(out, 22, static_cast<std::uint32_t>(height), 4);
  return out;
}

std::string WithGifScreenSize(std::string gif, int width, int height) {
  Put(gif, 6, static_cast<std::uint32_t>(width), 2);
  Put(gif, 8, static_cast<std::uint32_t>(height), 2);
  return gif;
}

std::string WithJpegFrameSize(std::string jpeg, int width, int height) {
  // The encoder's segments before the frame header hold no 0xFF 0xC0.
  const std::size_t at = jpeg.find("\xFF\xC0");
  if (at == std::string::npos) throw std::invalid_argument("no frame header");
  const char size[] = {static_cast<char>(height >> 8), static_cast<char>(height & 0xFF), static_cast<char>(width >> 8),
                       static_cast<char>(width & 0xFF)};
  return jpeg.replace(at + 5, 4, size, 4);
}

}  // namespace testbed