// The forms layer's picture loader: a bitmap, GIF (its first frame), JPEG or placeable Windows
// metafile file, rendered at its natural pixel size into a 32-bit bitmap held by a memory DC.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "forms/handles.h"

namespace forms {

class LoadedPicture {
 public:
  LoadedPicture(MemoryDC dc, Bitmap bitmap, int width, int height);
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

 private:
  void Release();

  Bitmap bitmap_;  // declared before dc_, so that the DC goes first
  MemoryDC dc_;
  HGDIOBJ placeholder_ = nullptr;  // what dc_ held before the picture, put back before it goes
  int width_ = 0;
  int height_ = 0;
};

// Files larger than this are refused without being read.
constexpr unsigned long long kMaxPictureFileBytes = 256ull << 20;

// Nothing when the file cannot be read, is not one of the four kinds, is damaged, or would take
// more than kMaxDecodedPictureBytes decoded. A failed load touches nothing else, so a caller that
// keeps its previous picture on failure shows it again.
std::optional<LoadedPicture> LoadPictureFile(const std::wstring& path);

// A bitmap or JPEG built into module as an RCDATA resource, at its own pixel size whatever the
// display's dpi. Nothing when the resource is missing or does not decode.
std::optional<LoadedPicture> LoadPictureResource(HMODULE module, int id);

}  // namespace forms
