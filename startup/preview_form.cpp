#include "startup/preview_form.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "resources/resource_ids.h"

namespace {

constexpr int kHimetricPerInch = 2540;

// The resource's bytes as a stream that OleLoadPicture can read.
forms::ComPtr<IStream> ResourceStream(HMODULE module, int id) {
  forms::ComPtr<IStream> stream;
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return stream;
  DWORD size = ::SizeofResource(module, info);
  HGLOBAL resource = ::LoadResource(module, info);
  const void* bytes = resource ? ::LockResource(resource) : nullptr;
  if (!bytes || size == 0) return stream;
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return stream;
  void* target = ::GlobalLock(copy);
  if (!target) {
    ::GlobalFree(copy);
    return stream;
  }
  std::memcpy(target, bytes, size);
  ::GlobalUnlock(copy);
  // From here the stream owns the copy and frees it when released.
  if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, stream.put()))) ::GlobalFree(copy);
  return stream;
}

// The picture's size in pixels: exact from its bitmap when it has one, else from HIMETRIC.
SIZE PixelSize(IPicture* picture, HDC screen) {
  SIZE size{0, 0};
  short type = PICTYPE_UNINITIALIZED;
  OLE_HANDLE handle = 0;
  BITMAP bitmap{};
  if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)) &&
      ::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap)) {
    size.cx = bitmap.bmWidth;
    size.cy = bitmap.bmHeight;
    return size;
  }
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (SUCCEEDED(picture->get_Width(&width)) && SUCCEEDED(picture->get_Height(&height))) {
    size.cx = ::MulDiv(width, ::GetDeviceCaps(screen, LOGPIXELSX), kHimetricPerInch);
    size.cy = ::MulDiv(height, ::GetDeviceCaps(screen, LOGPIXELSY), kHimetricPerInch);
  }
  return size;
}

}  // namespace

PreviewForm::PreviewForm(HMODULE resources)
    : resources_(resources ? resources : ::GetModuleHandleW(nullptr)) {}

PreviewForm::~PreviewForm() { Destroy(); }

bool PreviewForm::Load() {
  if (handle()) return true;
  CreateOptions options;
  options.className = L"RubblitPreviewForm";
  options.caption = L"Preview Window";
  options.style = WS_POPUP | WS_CLIPCHILDREN;
  options.background = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  options.width = Img_Prev.width;
  options.height = Img_Prev.height;
  if (!Create(options)) return false;
  LoadPicture();
  return true;
}

void PreviewForm::Unload() {
  if (!handle()) return;
  ::PostMessageA(handle(), WM_CLOSE, 0, 0);
  Destroy();
}

void PreviewForm::PlaceImage(int left, int top, int width, int height) {
  Img_Prev = ImageElement{left, top, std::max(width, 0), std::max(height, 0)};
  if (handle()) ::InvalidateRect(handle(), nullptr, TRUE);
}

void PreviewForm::LoadPicture() {
  forms::ComPtr<IStream> stream = ResourceStream(resources_, IDR_PREVIEW_PICTURE);
  if (!stream) return;
  forms::ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, reinterpret_cast<void**>(picture.put()))))
    return;
  forms::WindowDC screen(nullptr);
  if (!screen) return;
  SIZE size = PixelSize(picture.get(), screen.get());
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (size.cx <= 0 || size.cy <= 0 || FAILED(picture->get_Width(&himetricWidth)) ||
      FAILED(picture->get_Height(&himetricHeight)))
    return;
  // Rendered once into a bitmap of our own, so that painting is a plain blit.
  forms::Bitmap rendered(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  forms::MemoryDC memory(screen.get());
  if (!rendered || !memory) return;
  {
    forms::SelectedObject selected(memory.get(), rendered.get());
    if (!selected) return;
    // HIMETRIC runs upwards: the source starts at the picture's top edge and goes down.
    if (FAILED(picture->Render(memory.get(), 0, 0, size.cx, size.cy, 0, himetricHeight, himetricWidth,
                               -himetricHeight, nullptr)))
      return;
  }
  picture_ = std::move(rendered);
  pictureWidth_ = size.cx;
  pictureHeight_ = size.cy;
}

void PreviewForm::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(handle(), &paint);
  if (!dc) return;
  int width = std::min(pictureWidth_, Img_Prev.width);
  int height = std::min(pictureHeight_, Img_Prev.height);
  if (picture_ && width > 0 && height > 0) {
    forms::MemoryDC memory(dc);
    forms::SelectedObject selected(memory.get(), picture_.get());
    if (selected) ::BitBlt(dc, Img_Prev.left, Img_Prev.top, width, height, memory.get(), 0, 0, SRCCOPY);
  }
  ::EndPaint(handle(), &paint);
}

LRESULT PreviewForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DESTROY:
      // The preview is the process's only form: with it gone the process has nothing left to do.
      ::PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}
