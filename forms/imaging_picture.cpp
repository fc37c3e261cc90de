// The platform's imaging component (WIC) reads JPEG photos: it can decode at a reduced scale
// where its decoder offers that, and scales and converts while it copies the pixels out, so a
// photo bound for the screen is never held at full size beside its decoder's own copy.
#include <wincodec.h>

#include <algorithm>
#include <memory>
#include <new>

#include "forms/picture_decoders.h"

namespace forms {
namespace {

// The frame decoded at the smallest scale its decoder offers that is still at least width x
// height, held in a bitmap of that size; nothing where the decoder offers no smaller scale (Wine's
// does not) or the reduced decode fails, and the frame is then decoded whole.
ComPtr<IWICBitmap> DecodeReduced(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT fullWidth, UINT width,
                                 UINT height) {
  ComPtr<IWICBitmap> none;
  ComPtr<SourceTransform> transform;
  if (FAILED(frame->QueryInterface(kIidSourceTransform, reinterpret_cast<void**>(transform.put()))) || !transform) {
    return none;
  }
  UINT reducedWidth = width, reducedHeight = height;
  if (FAILED(transform->GetClosestSize(&reducedWidth, &reducedHeight)) || reducedWidth < width ||
      reducedHeight < height || reducedWidth >= fullWidth || !FitsDecodeBudget(reducedWidth, reducedHeight)) {
    return none;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  ComPtr<IWICBitmap> reduced;
  if (FAILED(transform->GetClosestPixelFormat(&format)) ||
      FAILED(factory->CreateBitmap(reducedWidth, reducedHeight, format, WICBitmapCacheOnLoad, reduced.put()))) {
    return none;
  }
  ComPtr<IWICBitmapLock> lock;
  const WICRect all = {0, 0, static_cast<INT>(reducedWidth), static_cast<INT>(reducedHeight)};
  UINT stride = 0, size = 0;
  BYTE* pixels = nullptr;
  if (FAILED(reduced->Lock(&all, WICBitmapLockWrite, lock.put())) || FAILED(lock->GetStride(&stride)) ||
      FAILED(lock->GetDataPointer(&size, &pixels)) || !pixels ||
      FAILED(transform->CopyPixels(nullptr, reducedWidth, reducedHeight, &format, WICBitmapTransformRotate0, stride,
                                   size, pixels))) {
    return none;
  }
  return reduced;
}

// Copies rect of source into pixels (rows of rect's width, top first) a strip of rows at a time:
// Wine's scaler and converter each take a buffer for all the source rows that one copy needs, so
// one copy of the whole would hold the photo at full size once more.
bool CopyInStrips(IWICBitmapSource* source, const WICRect& rect, std::uint32_t* pixels) {
  constexpr INT kStripRows = 64;
  const UINT stride = static_cast<UINT>(rect.Width) * 4;
  for (INT row = 0; row < rect.Height; row += kStripRows) {
    const WICRect strip = {rect.X, rect.Y + row, rect.Width, std::min(kStripRows, rect.Height - row)};
    BYTE* into = reinterpret_cast<BYTE*>(pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(rect.Width));
    if (FAILED(source->CopyPixels(&strip, stride, stride * static_cast<UINT>(strip.Height), into))) return false;
  }
  return true;
}

}  // namespace

std::optional<LoadedPicture> LoadWithImaging(IStream* stream, const PictureHeader& header, const ViewChoice& choose) {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))) ||
      FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put()))) {
    return std::nullopt;
  }
  return LoadFrameWithImaging(factory.get(), frame.get(), header, choose);
}

std::optional<LoadedPicture> LoadFrameWithImaging(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                                                  const PictureHeader& header, const ViewChoice& choose) {
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return std::nullopt;
  // The size checked against the memory limit is the header's; a decoder that sees another is
  // reading another picture.
  if (width != header.width || height != header.height) return std::nullopt;
  const auto storedWidth = static_cast<std::int32_t>(width), storedHeight = static_cast<std::int32_t>(height);
  const PixelRect upright = UprightRect(header.orientation, storedWidth, storedHeight);
  const auto plan = PlanView(header.orientation, storedWidth, storedHeight, choose(upright.Width, upright.Height));
  if (!plan) return std::nullopt;

  IWICBitmapSource* source = frame;
  ComPtr<IWICBitmap> reduced;
  ComPtr<IWICBitmapScaler> scaler;
  WICRect rect = {plan->Part.Left, plan->Part.Top, plan->Part.Width, plan->Part.Height};
  if (plan->Scaled()) {
    reduced = DecodeReduced(factory, frame, width, static_cast<UINT>(plan->Width), static_cast<UINT>(plan->Height));
    // Nearest neighbour drops rows and columns without blending them, as the display always scaled.
    if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
        FAILED(scaler->Initialize(reduced ? static_cast<IWICBitmapSource*>(reduced.get()) : source,
                                  static_cast<UINT>(plan->Width), static_cast<UINT>(plan->Height),
                                  WICBitmapInterpolationModeNearestNeighbor))) {
      return std::nullopt;
    }
    source = scaler.get();
    rect = {0, 0, plan->Width, plan->Height};
  }
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  if (header.orientation == kUprightAsStored) {
    auto picture = NewPicture(plan->Width, plan->Height);
    if (!picture || !CopyInStrips(converter.get(), rect, picture->bits())) return std::nullopt;
    return picture;
  }
  // Loaded between two pictures of the running saver, where nothing may throw: without the memory
  // the file counts as one that cannot be loaded.
  std::unique_ptr<std::uint32_t[]> block(
      new (std::nothrow) std::uint32_t[static_cast<std::size_t>(plan->Width) * static_cast<std::size_t>(plan->Height)]);
  if (!block || !CopyInStrips(converter.get(), rect, block.get())) return std::nullopt;
  return UprightPicture(header.orientation, block.get(), plan->Width, plan->Height);
}

}  // namespace forms
