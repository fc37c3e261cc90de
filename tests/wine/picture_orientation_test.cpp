// Photos tagged with each Exif orientation stand upright, loaded whole, scaled for the screen, cut
// at their own size, through the other loader when the imaging decoder has no memory to turn them,
// or decoded at a reduced scale by a decoder that offers one.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <string>

#include "display/picture_scaling.h"
#include "forms/picture_decoders.h"
#include "forms/picture_loader.h"
#include "support/failing_allocation.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const std::uint32_t kMark = Rgb(245, 245, 245);
// One background per orientation, far apart, so that a photo taken for another shows.
const std::uint32_t kBackgrounds[8] = {Rgb(220, 30, 30),  Rgb(30, 190, 40),  Rgb(30, 40, 220),  Rgb(230, 210, 30),
                                       Rgb(30, 200, 210), Rgb(200, 40, 200), Rgb(240, 130, 20), Rgb(90, 90, 90)};
constexpr int kUprightWidth = 320, kUprightHeight = 240;

// A photo as a camera stores it, with the quarter of its pixels marked that the orientation turns
// into the upright top-left quarter (how each pixel turns is
// PictureOrientation.StandsEachOrientationUpright's), and an Exif segment right after the start
// marker whose one tag is the orientation (both byte orders and the walk past other tags are
// ExifOrientation's tests).
std::string CameraJpeg(std::uint16_t orientation, int uprightWidth = kUprightWidth,
                       int uprightHeight = kUprightHeight) {
  // For orientations 1 to 8: whether the stored quarter that stands at the upright top left lies on
  // the right, and whether at the bottom.
  static const bool kRight[8] = {false, true, true, false, false, false, true, true};
  static const bool kBottom[8] = {false, false, true, true, false, true, true, false};
  const bool quarterTurn = orientation >= 5;
  const int width = quarterTurn ? uprightHeight : uprightWidth;
  const int height = quarterTurn ? uprightWidth : uprightHeight;
  const std::string jpeg = JpegBytes(width, height, [=](int x, int y) {
    const bool marked = (x >= width / 2) == kRight[orientation - 1] && (y >= height / 2) == kBottom[orientation - 1];
    return marked ? kMark : kBackgrounds[orientation - 1];
  });
  // APP1 of 0x22 bytes: "Exif", a little-endian TIFF header, a directory of one entry (tag 274, one
  // short: the orientation, at 28) and no next directory.
  char exif[] = {'\xFF', '\xE1', 0,    0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                 1,      0,      0x12, 1,    3,   0,   1,   0,   0, 0, 0,   0,   0,  0, 0, 0, 0, 0};
  exif[28] = static_cast<char>(orientation);
  return jpeg.substr(0, 2) + std::string(exif, sizeof exif) + jpeg.substr(2);
}

// Whether the picture shows, in width x height, the marked corner at the top left: the middle of
// each quarter checked.
::testing::AssertionResult MarkedTopLeft(const forms::LoadedPicture& picture, int width, int height,
                                         std::uint32_t background) {
  if (picture.width() != width || picture.height() != height) {
    return ::testing::AssertionFailure() << picture.width() << " x " << picture.height();
  }
  for (int y : {height / 4, height * 3 / 4}) {
    for (int x : {width / 4, width * 3 / 4}) {
      const std::uint32_t seen = PixelOf(picture.dc(), x, y);
      if (!Near(seen, x < width / 2 && y < height / 2 ? kMark : background)) {
        return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex << seen;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// A frame of Wine's JPEG decoder that also decodes at a half, a quarter or an eighth of its size,
// as Windows' does, in its own 24-bit format (rows padded to 4 bytes) and turned by nothing.
struct ReducingFrame : IWICBitmapFrameDecode, forms::SourceTransform {
  IWICImagingFactory* factory;
  IWICBitmapFrameDecode* frame;
  UINT copiedWidth = 0, copiedHeight = 0;
  ReducingFrame(IWICImagingFactory* f, IWICBitmapFrameDecode* inner) : factory(f), frame(inner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    *out = id == forms::kIidSourceTransform ? static_cast<void*>(static_cast<forms::SourceTransform*>(this))
           : id == IID_IUnknown || id == IID_IWICBitmapSource || id == IID_IWICBitmapFrameDecode
               ? static_cast<IWICBitmapFrameDecode*>(this)
               : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetSize(UINT* w, UINT* h) override { return frame->GetSize(w, h); }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* f) override { return frame->GetPixelFormat(f); }
  HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override { return frame->GetResolution(x, y); }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* p) override { return frame->CopyPalette(p); }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* r, UINT stride, UINT size, BYTE* into) override {
    return frame->CopyPixels(r, stride, size, into);
  }
  HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader** r) override {
    return frame->GetMetadataQueryReader(r);
  }
  HRESULT STDMETHODCALLTYPE GetColorContexts(UINT n, IWICColorContext** c, UINT* k) override {
    return frame->GetColorContexts(n, c, k);
  }
  HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource** t) override { return frame->GetThumbnail(t); }
  HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* w, UINT* h) override {
    UINT fullWidth = 0, fullHeight = 0, scale = 8;
    frame->GetSize(&fullWidth, &fullHeight);
    while (scale > 1 && ((fullWidth + scale - 1) / scale < *w || (fullHeight + scale - 1) / scale < *h)) scale /= 2;
    *w = (fullWidth + scale - 1) / scale, *h = (fullHeight + scale - 1) / scale;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* f) override {
    *f = GUID_WICPixelFormat24bppBGR;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions t, BOOL* yes) override {
    *yes = t == WICBitmapTransformRotate0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT w, UINT h, WICPixelFormatGUID* format,
                                       WICBitmapTransformOptions turn, UINT stride, UINT size, BYTE* into) override {
    forms::ComPtr<IWICBitmapScaler> scaler;
    forms::ComPtr<IWICFormatConverter> converter;
    if (*format != GUID_WICPixelFormat24bppBGR || turn != WICBitmapTransformRotate0 ||
        FAILED(factory->CreateBitmapScaler(scaler.put())) ||
        FAILED(scaler->Initialize(frame, w, h, WICBitmapInterpolationModeNearestNeighbor)) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(scaler.get(), *format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(rect, stride, size, into))) {
      return E_FAIL;
    }
    copiedWidth = w, copiedHeight = h;
    return S_OK;
  }
};

}  // namespace

// Windows decodes a large photo bound for the screen at a reduced scale; the reduced rows are
// padded, 3 bytes a pixel, and stored as the camera took them.
TEST(PictureOrientation, AReducedDecodeStandsUpright) {
  const struct {
    std::uint16_t orientation;
    std::int32_t viewWidth, viewHeight;
    UINT reducedWidth, reducedHeight;
  } cases[] = {{1, 140, 100, 150, 106}, {3, 60, 40, 75, 53}, {6, 100, 70, 106, 150}, {5, 60, 40, 53, 75}};
  forms::ComApartment apartment;
  forms::ComPtr<IWICImagingFactory> factory;
  ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.orientation);
    const std::string jpeg = CameraJpeg(c.orientation, 300, 212);
    const auto header = forms::ReadPictureHeader(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    forms::ComPtr<IWICStream> stream;
    forms::ComPtr<IWICBitmapDecoder> decoder;
    forms::ComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_TRUE(header && SUCCEEDED(factory->CreateStream(stream.put())) &&
                SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(jpeg.data())),
                                                       static_cast<DWORD>(jpeg.size()))) &&
                SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                           decoder.put())) &&
                SUCCEEDED(decoder->GetFrame(0, frame.put())));
    ReducingFrame reducing(factory.get(), frame.get());
    const auto picture =
        forms::LoadFrameWithImaging(factory.get(), &reducing, *header, [&](std::int32_t w, std::int32_t h) {
          return forms::PictureView{{0, 0, w, h}, c.viewWidth, c.viewHeight};
        });
    ASSERT_TRUE(picture);
    EXPECT_EQ(reducing.copiedWidth, c.reducedWidth);
    EXPECT_EQ(reducing.copiedHeight, c.reducedHeight);
    EXPECT_TRUE(MarkedTopLeft(*picture, c.viewWidth, c.viewHeight, kBackgrounds[c.orientation - 1]));
  }
}

TEST(PictureOrientation, EachOrientationStandsUprightWholeScaledCutAndThroughTheOtherLoader) {
  TempFolder folder;
  for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
    folder.WriteBytes(L"photo.jpg", CameraJpeg(orientation));
    const std::wstring path = folder.File(L"photo.jpg");
    const std::uint32_t background = kBackgrounds[orientation - 1];
    auto whole = forms::LoadPictureFile(path);
    ASSERT_TRUE(whole) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*whole, kUprightWidth, kUprightHeight, background)) << orientation;

    auto fullScreen = forms::LoadPictureFile(
        path, [](std::int32_t width, std::int32_t height) { return ShownView(width, height, true, 1024, 768); });
    ASSERT_TRUE(fullScreen) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*fullScreen, 1024, 768, background)) << orientation;

    // The middle 160 x 120 of the upright picture holds a quarter of each quarter.
    auto cut = forms::LoadPictureFile(
        path, [](std::int32_t width, std::int32_t height) { return ShownView(width, height, false, 160, 120); });
    ASSERT_TRUE(cut) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*cut, 160, 120, background)) << orientation;

    // An eighth of the size or less comes from the blocks' means.
    auto small = forms::LoadPictureFile(path, [](std::int32_t width, std::int32_t height) {
      return forms::PictureView{{0, 0, width, height}, 40, 30};
    });
    ASSERT_TRUE(small) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*small, 40, 30, background)) << orientation;

    // Without memory to turn it through the imaging decoder, the other loader stands it upright.
    std::optional<forms::LoadedPicture> fallback;
    {
      testsupport::FailingAllocations outOfMemory(64 * 1024);
      fallback = forms::LoadPictureFile(path);
    }
    ASSERT_TRUE(fallback) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*fallback, kUprightWidth, kUprightHeight, background)) << orientation;
  }
}
