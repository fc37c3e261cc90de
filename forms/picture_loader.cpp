#include "forms/picture_loader.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "forms/picture_header.h"

namespace forms {
namespace {

// GlobalLock for the span of one scope.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), bytes_(static_cast<unsigned char*>(::GlobalLock(memory))) {}
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

bool ReadWhole(HANDLE file, unsigned char* into, DWORD size) {
  DWORD done = 0;
  while (done < size) {
    DWORD read = 0;
    if (!::ReadFile(file, into + done, size - done, &read, nullptr) || read == 0) return false;
    done += read;
  }
  return true;
}

// Reads the file into a memory stream, which then owns the bytes, and checks its header on the
// way. The file is opened by wide name (any path the folder scan can list) and shared, so a
// scanner or an editor holding it open does not stop the load.
ComPtr<IStream> ReadCheckedFile(const std::wstring& path) {
  ComPtr<IStream> none;
  KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // Only plain disk files: a console or pipe name would block the read.
  if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK) return none;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxPictureFileBytes) {
    return none;
  }
  const auto byteCount = static_cast<DWORD>(size.QuadPart);

  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, byteCount);
  if (!memory) return none;
  ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
    ::GlobalFree(memory);
    return none;
  }
  ULARGE_INTEGER streamSize;
  streamSize.QuadPart = byteCount;  // the block may have been rounded up
  if (FAILED(stream->SetSize(streamSize))) return none;

  GlobalLockScope lock(memory);
  if (!lock.bytes() || !ReadWhole(file.get(), lock.bytes(), byteCount)) return none;
  auto header = ReadPictureHeader(lock.bytes(), byteCount);
  if (!header) return none;
  // A metafile is replayed, not decoded: its pixel size is checked once it is known.
  if (header->kind != PictureKind::Metafile && !FitsDecodeBudget(header->width, header->height)) return none;
  return stream;
}

}  // namespace

LoadedPicture::LoadedPicture(MemoryDC dc, Bitmap bitmap, int width, int height)
    : bitmap_(std::move(bitmap)), dc_(std::move(dc)), width_(width), height_(height) {
  HGDIOBJ previous = dc_ && bitmap_ ? ::SelectObject(dc_.get(), bitmap_.get()) : nullptr;
  placeholder_ = previous == HGDI_ERROR ? nullptr : previous;
}

LoadedPicture::~LoadedPicture() { Release(); }

LoadedPicture::LoadedPicture(LoadedPicture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      dc_(std::move(other.dc_)),
      placeholder_(std::exchange(other.placeholder_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

LoadedPicture& LoadedPicture::operator=(LoadedPicture&& other) noexcept {
  if (this != &other) {
    Release();
    bitmap_ = std::move(other.bitmap_);
    dc_ = std::move(other.dc_);
    placeholder_ = std::exchange(other.placeholder_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

// The bitmap is swapped out before the DC and the bitmap are deleted.
void LoadedPicture::Release() {
  if (dc_ && placeholder_) ::SelectObject(dc_.get(), placeholder_);
  placeholder_ = nullptr;
  dc_.reset();
  bitmap_.reset();
  width_ = height_ = 0;
}

namespace {

// The resource's bytes as a stream that OleLoadPicture can read; the stream owns a copy.
ComPtr<IStream> ResourceStream(HMODULE module, int id) {
  ComPtr<IStream> none;
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return none;
  const DWORD size = ::SizeofResource(module, info);
  HGLOBAL resource = ::LoadResource(module, info);
  const void* bytes = resource ? ::LockResource(resource) : nullptr;
  if (!bytes || size == 0) return none;
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return none;
  {
    GlobalLockScope lock(copy);
    if (!lock.bytes()) {
      ::GlobalFree(copy);
      return none;
    }
    std::memcpy(lock.bytes(), bytes, size);
  }
  ComPtr<IStream> stream;
  // From here the stream owns the copy and frees it when released.
  if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, stream.put()))) ::GlobalFree(copy);
  return stream;
}

ComPtr<IPicture> DecodeStream(IStream* stream) {
  ComPtr<IPicture> picture;
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return picture;
  if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(stat.cbSize.QuadPart), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.put())))) {
    picture.reset();
  }
  return picture;
}

// The picture rendered at width x height pixels into a 32-bit bitmap of its own.
std::optional<LoadedPicture> RenderPicture(IPicture* picture, HDC screen, int width, int height) {
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight)) ||
      himetricWidth <= 0 || himetricHeight <= 0) {
    return std::nullopt;
  }
  MemoryDC dc(screen);
  if (!dc) return std::nullopt;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return std::nullopt;
  LoadedPicture loaded(std::move(dc), std::move(bitmap), width, height);
  if (!loaded.dc() || ::GetCurrentObject(loaded.dc(), OBJ_BITMAP) != loaded.bitmap()) return std::nullopt;

  // Whatever a metafile or a transparent GIF leaves undrawn shows white, like the page the
  // picture was drawn on: dark line art would vanish on black. An opaque bitmap covers it all.
  SHORT type = PICTYPE_UNINITIALIZED;
  DWORD attributes = 0;
  const bool opaque = SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
                      SUCCEEDED(picture->get_Attributes(&attributes)) && !(attributes & PICTURE_TRANSPARENT);
  if (!opaque && !::PatBlt(loaded.dc(), 0, 0, width, height, WHITENESS)) return std::nullopt;
  // The source rectangle is in HIMETRIC with y running upwards, hence the flip.
  if (FAILED(picture->Render(loaded.dc(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                             nullptr))) {
    return std::nullopt;
  }
  ::GdiFlush();
  return loaded;
}

}  // namespace

std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path) {
  // The platform's decoders are COM objects; this keeps COM up for the load whatever the caller did.
  ComApartment apartment;
  ComPtr<IPicture> picture;
  {
    ComPtr<IStream> stream = ReadCheckedFile(path);
    if (!stream) return std::nullopt;
    picture = DecodeStream(stream.get());
  }  // the file's bytes are no longer needed
  if (!picture) return std::nullopt;

  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight))) return std::nullopt;
  WindowDC screen(nullptr);
  if (!screen) return std::nullopt;
  const int width = ::MulDiv(himetricWidth, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
  const int height = ::MulDiv(himetricHeight, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
  if (width <= 0 || height <= 0 || !FitsDecodeBudget(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
    return std::nullopt;
  }
  return RenderPicture(picture.get(), screen.get(), width, height);
}

std::optional<LoadedPicture> LoadPictureResource(HMODULE module, int id) {
  ComApartment apartment;
  ComPtr<IStream> stream = ResourceStream(module, id);
  if (!stream) return std::nullopt;
  ComPtr<IPicture> picture = DecodeStream(stream.get());
  if (!picture) return std::nullopt;
  // A bitmap's own pixel size, not its size in inches on this display: the skin is drawn pixel for
  // pixel at every dpi.
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_UNINITIALIZED;
  BITMAP bitmap{};
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) ||
      !::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap) ||
      bitmap.bmWidth <= 0 || bitmap.bmHeight <= 0) {
    return std::nullopt;
  }
  WindowDC screen(nullptr);
  if (!screen) return std::nullopt;
  return RenderPicture(picture.get(), screen.get(), bitmap.bmWidth, bitmap.bmHeight);
}

}  // namespace forms
