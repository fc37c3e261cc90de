#include "forms/picture_loader.h"

#include <cstdint>
#include <utility>

#include "forms/picture_decoders.h"
#include "forms/picture_header.h"

namespace forms {
namespace {

bool ReadWhole(HANDLE file, unsigned char* into, DWORD size) {
  DWORD done = 0;
  while (done < size) {
    DWORD read = 0;
    if (!::ReadFile(file, into + done, size - done, &read, nullptr) || read == 0) return false;
    done += read;
  }
  return true;
}

struct CheckedFile {
  ComPtr<IStream> stream;
  PictureHeader header{};
};

// Reads the file into a memory stream, which then owns the bytes, and checks its header on the
// way. The file is opened by wide name (any path the folder scan can list) and shared, so a
// scanner or an editor holding it open does not stop the load.
CheckedFile ReadCheckedFile(const std::wstring& path) {
  CheckedFile none;
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
  CheckedFile checked;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, checked.stream.put()))) {
    ::GlobalFree(memory);
    return none;
  }
  ULARGE_INTEGER streamSize;
  streamSize.QuadPart = byteCount;  // the block may have been rounded up
  if (FAILED(checked.stream->SetSize(streamSize))) return none;

  GlobalLockScope lock(memory);
  if (!lock.bytes() || !ReadWhole(file.get(), lock.bytes(), byteCount)) return none;
  // The header reader refuses a raster picture over the decode budget; a metafile is replayed, not
  // decoded, and its pixel size is checked once it is known.
  auto header = ReadPictureHeader(lock.bytes(), byteCount);
  if (!header) return none;
  checked.header = *header;
  return checked;
}

}  // namespace

LoadedPicture::LoadedPicture(MemoryDC dc, Bitmap bitmap, int width, int height, std::uint32_t* bits)
    : bitmap_(std::move(bitmap)), dc_(std::move(dc)), width_(width), height_(height), bits_(bits) {
  HGDIOBJ previous = dc_ && bitmap_ ? ::SelectObject(dc_.get(), bitmap_.get()) : nullptr;
  placeholder_ = previous == HGDI_ERROR ? nullptr : previous;
}

LoadedPicture::~LoadedPicture() { Release(); }

LoadedPicture::LoadedPicture(LoadedPicture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      dc_(std::move(other.dc_)),
      placeholder_(std::exchange(other.placeholder_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      bits_(std::exchange(other.bits_, nullptr)) {}

LoadedPicture& LoadedPicture::operator=(LoadedPicture&& other) noexcept {
  if (this != &other) {
    Release();
    bitmap_ = std::move(other.bitmap_);
    dc_ = std::move(other.dc_);
    placeholder_ = std::exchange(other.placeholder_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    bits_ = std::exchange(other.bits_, nullptr);
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
  bits_ = nullptr;
}

std::optional<LoadedPicture> NewPicture(int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  WindowDC screen(nullptr);
  if (!screen) return std::nullopt;
  MemoryDC dc(screen.get());
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
  if (!bitmap || !bits) return std::nullopt;
  LoadedPicture picture(std::move(dc), std::move(bitmap), width, height, static_cast<std::uint32_t*>(bits));
  if (!picture.dc() || ::GetCurrentObject(picture.dc(), OBJ_BITMAP) != picture.bitmap()) return std::nullopt;
  return picture;
}

std::optional<LoadedPicture> UprightPicture(std::uint16_t orientation, const std::uint32_t* block,
                                            std::int32_t blockWidth, std::int32_t blockHeight) {
  const PixelRect size = UprightRect(orientation, blockWidth, blockHeight);
  auto picture = NewPicture(size.Width, size.Height);
  if (!picture || !block) return std::nullopt;
  ::GdiFlush();
  OrientPixels(orientation, block, blockWidth, blockHeight, picture->bits());
  return picture;
}

std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path) {
  return LoadPictureFile(path, [](std::int32_t width, std::int32_t height) {
    return PictureView{{0, 0, width, height}, width, height};
  });
}

std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path, const ViewChoice& choose,
                                             const std::function<bool()>& keepGoing) {
  // The platform's decoders are COM objects; this keeps COM up for the load whatever the caller did.
  ComApartment apartment;
  CheckedFile file = ReadCheckedFile(path);
  if (!file.stream) return std::nullopt;
  if (file.header.kind == PictureKind::Jpeg) {
    if (auto picture = LoadEighthScale(file.stream.get(), file.header, choose, keepGoing)) return picture;
    if (keepGoing && !keepGoing()) return std::nullopt;
    if (auto picture = LoadWithImaging(file.stream.get(), file.header, choose)) return picture;
    LARGE_INTEGER start = {};
    if (FAILED(file.stream->Seek(start, STREAM_SEEK_SET, nullptr))) return std::nullopt;
  }
  return LoadWithOle(file.stream.get(), file.header, choose);
}

}  // namespace forms
