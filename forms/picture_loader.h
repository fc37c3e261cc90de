// The forms layer's picture loader: a bitmap, GIF (its first frame), JPEG or placeable Windows
// metafile file, stood upright by its Exif orientation and rendered into a 32-bit bitmap held by
// a memory DC, whole at its own size or as much of it as the caller will show.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "forms/handles.h"
#include "forms/picture_orientation.h"

namespace forms {

class LoadedPicture {
 public:
  LoadedPicture(MemoryDC dc, Bitmap bitmap, int width, int height, std::uint32_t* bits);
  ~LoadedPicture();
  LoadedPicture(LoadedPicture&& other) noexcept;
  LoadedPicture& operator=(LoadedPicture&& other) noexcept;
  LoadedPicture(const LoadedPicture&) = delete;
  LoadedPicture& operator=(const LoadedPicture&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // Holds the picture selected, ready to be the source of a blit.
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  // Its pixels, 0x00RRGGBB, top row first, width() to a row; GdiFlush before reading after GDI drew.
  std::uint32_t* bits() const { return bits_; }

 private:
  void Release();

  Bitmap bitmap_;  // declared before dc_, so that the DC goes first
  MemoryDC dc_;
  HGDIOBJ placeholder_ = nullptr;  // what dc_ held before the picture, put back before it goes
  int width_ = 0;
  int height_ = 0;
  std::uint32_t* bits_ = nullptr;
};

// Files larger than this are refused without being read.
constexpr unsigned long long kMaxPictureFileBytes = 256ull << 20;

// Told the upright picture's width and height, says what of it to deliver.
using ViewChoice = std::function<PictureView(std::int32_t uprightWidth, std::int32_t uprightHeight)>;

// The whole upright picture at its own size. Nothing when the file cannot be read, is not one of
// the four kinds, is damaged, or would take more than kMaxDecodedPictureBytes decoded. A failed
// load touches nothing else, so a caller that keeps its previous picture on failure shows it again.
std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path);

// The view that choose picks, at its size; nothing also when that view does not fit the picture.
// A large JPEG bound for the screen is never held whole more than once on the way. keepGoing, where
// given, is asked now and then while a JPEG is read at an eighth of its size; when it says no, the
// load is abandoned and gives nothing.
std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path, const ViewChoice& choose,
                                             const std::function<bool()>& keepGoing = nullptr);

// A bitmap or JPEG built into module as an RCDATA resource, at its own pixel size whatever the
// display's dpi. Nothing when the resource is missing or does not decode.
std::optional<LoadedPicture> LoadPictureResource(HMODULE module, int id);

}  // namespace forms
