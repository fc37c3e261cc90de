// Pictures built into the program: the preview pane's picture and the settings dialog's skin.
#include <ocidl.h>
#include <olectl.h>

#include "forms/picture_decoders.h"

namespace forms {
namespace {

// The resource's bytes copied into a stream of their own: OleLoadPicture reads a stream, and the
// resource's memory is the module's, not ours to hand over.
ComPtr<IStream> ResourceStream(HMODULE module, int id) {
  ComPtr<IStream> stream;
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return stream;
  const DWORD size = ::SizeofResource(module, info);
  HGLOBAL resource = ::LoadResource(module, info);
  const void* bytes = resource ? ::LockResource(resource) : nullptr;
  if (!bytes || size == 0) return stream;
  ULONG written = 0;
  LARGE_INTEGER start = {};
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) || FAILED(stream->Write(bytes, size, &written)) ||
      written != size || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
    stream.reset();
  }
  return stream;
}

}  // namespace

std::optional<LoadedPicture> LoadPictureResource(HMODULE module, int id) {
  ComApartment apartment;
  ComPtr<IStream> stream = ResourceStream(module, id);
  if (!stream) return std::nullopt;
  STATSTG stat = {};
  ComPtr<IPicture> picture;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
      FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(stat.cbSize.QuadPart), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.put()))) ||
      !picture) {
    return std::nullopt;
  }
  // A bitmap's own pixel size, not its size in inches on this display: the skin is drawn pixel for
  // pixel at every dpi.
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_UNINITIALIZED;
  BITMAP bitmap{};
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) ||
      !::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap) ||
      bitmap.bmWidth <= 0 || bitmap.bmHeight <= 0 || FAILED(picture->get_Width(&himetricWidth)) ||
      FAILED(picture->get_Height(&himetricHeight))) {
    return std::nullopt;
  }
  auto loaded = NewPicture(bitmap.bmWidth, bitmap.bmHeight);
  if (!loaded) return std::nullopt;
  // The source rectangle is in HIMETRIC with y running upwards, hence the flip.
  if (FAILED(picture->Render(loaded->dc(), 0, 0, bitmap.bmWidth, bitmap.bmHeight, 0, himetricHeight, himetricWidth,
                             -himetricHeight, nullptr))) {
    return std::nullopt;
  }
  ::GdiFlush();
  return loaded;
}

}  // namespace forms
