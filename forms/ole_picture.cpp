// OLE picture loading: the one reader here for metafiles, and the fallback for any JPEG that the
// imaging component cannot read.
#include <ocidl.h>
#include <olectl.h>

#include <utility>

#include "forms/picture_decoders.h"

namespace forms {
namespace {

// The picture as OLE renders it, whole and at its own size, as stored.
std::optional<LoadedPicture> RenderWhole(IStream* stream) {
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return std::nullopt;
  ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(stat.cbSize.QuadPart), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.put()))) ||
      !picture) {
    return std::nullopt;
  }
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight)) ||
      himetricWidth <= 0 || himetricHeight <= 0) {
    return std::nullopt;
  }
  WindowDC screen(nullptr);
  if (!screen) return std::nullopt;
  const int width = ::MulDiv(himetricWidth, ::GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
  const int height = ::MulDiv(himetricHeight, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
  if (width <= 0 || height <= 0 || !FitsDecodeBudget(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
    return std::nullopt;
  }
  auto loaded = NewPicture(width, height);
  if (!loaded) return std::nullopt;

  // Whatever a metafile or a transparent GIF leaves undrawn shows white, like the page the
  // picture was drawn on: dark line art would vanish on black. An opaque bitmap covers it all.
  SHORT type = PICTYPE_UNINITIALIZED;
  DWORD attributes = 0;
  const bool opaque = SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
                      SUCCEEDED(picture->get_Attributes(&attributes)) && !(attributes & PICTURE_TRANSPARENT);
  if (!opaque && !::PatBlt(loaded->dc(), 0, 0, width, height, WHITENESS)) return std::nullopt;
  // The source rectangle is in HIMETRIC with y running upwards, hence the flip.
  if (FAILED(picture->Render(loaded->dc(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                             nullptr))) {
    return std::nullopt;
  }
  ::GdiFlush();
  return loaded;
}

}  // namespace

std::optional<LoadedPicture> LoadWithOle(IStream* stream, const PictureHeader& header, const ViewChoice& choose) {
  auto whole = RenderWhole(stream);
  if (!whole) return std::nullopt;
  const std::uint16_t orientation = header.orientation;
  const PixelRect upright = UprightRect(orientation, whole->width(), whole->height());
  const auto plan = PlanView(orientation, whole->width(), whole->height(), choose(upright.Width, upright.Height));
  if (!plan) return std::nullopt;
  const bool everything = !plan->Scaled() && plan->Part.Width == whole->width() && plan->Part.Height == whole->height();
  if (everything && orientation == kUprightAsStored) return whole;

  // Scaled as the display always scaled: dropped rows and columns, no blending.
  auto block = NewPicture(plan->Width, plan->Height);
  if (!block) return std::nullopt;
  ::SetStretchBltMode(block->dc(), COLORONCOLOR);
  if (!::StretchBlt(block->dc(), 0, 0, plan->Width, plan->Height, whole->dc(), plan->Part.Left, plan->Part.Top,
                    plan->Part.Width, plan->Part.Height, SRCCOPY)) {
    return std::nullopt;
  }
  whole.reset();
  if (orientation == kUprightAsStored) return block;
  ::GdiFlush();
  return UprightPicture(orientation, block->bits(), block->width(), block->height());
}

}  // namespace forms
