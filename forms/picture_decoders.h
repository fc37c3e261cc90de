// The picture loader's two ways of decoding a checked file, and the bitmap both deliver into.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <optional>

#include "forms/exif_orientation.h"
#include "forms/picture_header.h"
#include "forms/picture_loader.h"

namespace forms {

// IWICBitmapSourceTransform, which MinGW's headers do not declare, offered by a decoder that decodes
// at a reduced scale. Declared outside any unnamed namespace: there, with no class in its file
// implementing it, the compiler takes every call through it for a call of a pure virtual function
// and crashes the program on the first decoder that offers it.
const IID kIidSourceTransform = {0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};
struct SourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride, UINT bufferSize,
                                               BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};

// GlobalLock for the span of one scope.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory)
      : memory_(memory), bytes_(static_cast<unsigned char*>(::GlobalLock(memory))) {}
  ~GlobalLockScope() {
    if (bytes_) ::GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  unsigned char* bytes() const { return bytes_; }

 private:
  HGLOBAL memory_;
  unsigned char* bytes_;
};

// A black 32-bit top-down picture of width x height, selected into a memory DC.
std::optional<LoadedPicture> NewPicture(int width, int height);

// A JPEG bound for a view at most an eighth of its size, made from its blocks' means (see
// jpeg_eighth_scale.h), which is faster and far smaller than any decode of the whole. Nothing for
// any other view and for a file that decoder does not read; stream is a memory stream of the file.
std::optional<LoadedPicture> LoadEighthScale(IStream* stream, const PictureHeader& header, const ViewChoice& choose,
                                             const std::function<bool()>& keepGoing);

// The platform's imaging component: JPEG, decoded at a reduced scale where the decoder offers it
// and scaled while the pixels are copied. Nothing when it cannot read the file; the stream may
// then have been read from anywhere.
std::optional<LoadedPicture> LoadWithImaging(IStream* stream, const PictureHeader& header, const ViewChoice& choose);
// The same for the first frame of a decoder already made; the loader's tests hand it a frame of
// their own, one that decodes at a reduced scale as Windows' JPEG decoder does and Wine's does not.
std::optional<LoadedPicture> LoadFrameWithImaging(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                                                  const PictureHeader& header, const ViewChoice& choose);

// OLE picture loading: every kind, metafiles among them, rendered whole and then cut or scaled.
std::optional<LoadedPicture> LoadWithOle(IStream* stream, const PictureHeader& header, const ViewChoice& choose);

// A picture of the upright form of a block of blockWidth x blockHeight pixels as stored.
std::optional<LoadedPicture> UprightPicture(std::uint16_t orientation, const std::uint32_t* block,
                                            std::int32_t blockWidth, std::int32_t blockHeight);

}  // namespace forms
