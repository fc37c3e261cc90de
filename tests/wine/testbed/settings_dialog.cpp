#include "wine/testbed/settings_dialog.h"

#include <utility>

#include "dialog/layout.h"
#include "forms/handles.h"
#include "forms/picture_loader.h"
#include "wine/testbed/host_window.h"

namespace testbed {

namespace {

constexpr const wchar_t* kPanelClass = L"RubblitSkinPanel";

HWND Child(HWND parent, const wchar_t* className, HWND after = nullptr) {
  return parent ? ::FindWindowExW(parent, after, className, nullptr) : nullptr;
}

DialogPanels PanelsOf(HWND dialog) {
  DialogPanels found;
  found.picC = Child(dialog, kPanelClass);
  found.left = Child(found.picC, kPanelClass);
  found.right = Child(found.picC, kPanelClass, found.left);
  // The left panel, Pic_1(1), is the one Pic_K lies on.
  if (!Child(found.left, kPanelClass)) std::swap(found.left, found.right);
  found.picK = Child(found.left, kPanelClass);
  return found;
}

bool IsLight(std::uint32_t pixel) {
  // The tile's colours and Pic_K's are light greys; the panels' own colour is 128, 128, 128 and the
  // screen behind a window not yet painted is black.
  return ((pixel >> 16) & 0xFF) >= 160 && ((pixel >> 8) & 0xFF) >= 160 && (pixel & 0xFF) >= 160;
}

// Each panel shows its tiled or light grey picture inside the corners of what the dialog's client
// area leaves visible of it.
bool Painted(HWND dialog) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const DialogPanels panels = PanelsOf(dialog);
  for (HWND panel : {panels.picC, panels.left, panels.right, panels.picK}) {
    RECT visible{};
    ::GetWindowRect(panel, &visible);
    ::IntersectRect(&visible, &visible, &client);
    const ScreenShot shot =
        Capture(visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top);
    if (shot.width < 8 || shot.height < 8 || !IsLight(shot.At(2, 2)) ||
        !IsLight(shot.At(shot.width - 3, shot.height - 3))) {
      return false;
    }
  }
  return ::IsWindowVisible(dialog) != 0;
}

Pixels PixelsOf(HDC dc, const At& at) {
  Pixels pixels;
  for (int y = at.top; y < at.top + at.height; ++y) {
    for (int x = at.left; x < at.left + at.width; ++x) pixels.push_back(PixelOf(dc, x, y));
  }
  return pixels;
}

}  // namespace

std::vector<std::wstring> SettingsLines(const std::wstring& changeOrder, const std::wstring& imageSize,
                                        const std::wstring& folder, const std::wstring& kinds,
                                        const std::wstring& speed) {
  std::vector<std::wstring> lines = {L"画像ﾁｪﾝｼﾞ=" + changeOrder, L"画像のｻｲｽﾞ=" + imageSize, L"画像のﾌｫﾙﾀﾞ=" + folder};
  for (std::size_t n = 0; n < 4; ++n) lines.push_back(L"画像種類_" + std::to_wstring(n) + L"=" + kinds.substr(n, 1));
  lines.push_back(L"速さ=" + speed);
  return lines;
}

Pixels SkinPicture(const std::wstring& program, int resourceId, std::optional<At> piece) {
  forms::Library module(program.c_str(), LOAD_LIBRARY_AS_DATAFILE);
  std::optional<forms::LoadedPicture> picture;
  if (module) picture = forms::LoadPictureResource(module.get(), resourceId);
  if (!picture) return {};
  return PixelsOf(picture->dc(), piece.value_or(At{0, 0, picture->width(), picture->height()}));
}

Pixels ScreenPixels(const RECT& rect) {
  return Capture(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top).pixels;
}

SettingsDialog::SettingsDialog(const SaverProcess& process, DWORD milliseconds) {
  HWND window = process.WaitForWindow(L"Rubblitの設定", milliseconds);
  if (window && PumpUntil([&] { return Painted(window); }, milliseconds)) window_ = window;
}

DialogPanels SettingsDialog::FindPanels() const { return PanelsOf(window_); }

HWND SettingsDialog::List() const { return Child(FindPanels().left, L"ListBox"); }

HWND SettingsDialog::SpeedBar() const { return Child(FindPanels().right, L"ScrollBar"); }

std::vector<std::wstring> SettingsDialog::ListLines() const {
  std::vector<std::wstring> lines;
  HWND list = List();
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};  // longer than a name in a folder can be
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}

RECT SettingsDialog::OnScreen(HWND window, const At& at) {
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  return RECT{origin.x + at.left, origin.y + at.top, origin.x + at.left + at.width, origin.y + at.top + at.height};
}

RECT SettingsDialog::RelativeTo(HWND child, HWND ancestor) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ancestor, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Pixels LabelOverTile(const Pixels& tile, const At& label, const std::wstring& text, unsigned flags) {
  forms::WindowDC screen(nullptr);
  forms::MemoryDC memory(screen.get());
  forms::Bitmap canvas(::CreateCompatibleBitmap(screen.get(), label.width, label.height));
  forms::SelectedObject selectedCanvas(memory.get(), canvas.get());
  // The panels are narrower than the tile: its rows repeat down a panel, its columns do not.
  for (int y = 0; y < label.height; ++y) {
    for (int x = 0; x < label.width; ++x) {
      const std::uint32_t c = tile.at(((label.top + y) % dialog::kTileHeight) * dialog::kTileWidth + label.left + x);
      ::SetPixel(memory.get(), x, y, RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF));
    }
  }
  RECT rect{0, 0, label.width, label.height};
  if (flags & dialog::kBorder) {
    forms::Brush frame(::CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME)));
    ::FrameRect(memory.get(), &rect, frame.get());
    ::InflateRect(&rect, -1, -1);
  }
  forms::Font font(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック"));
  forms::SelectedObject selectedFont(memory.get(),
                                     (flags & dialog::kWindowFont) ? ::GetStockObject(DEFAULT_GUI_FONT) : font.get());
  ::SetBkMode(memory.get(), TRANSPARENT);
  ::SetTextColor(memory.get(), ::GetSysColor((flags & dialog::kWindowTextColour) ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  const UINT align = (flags & dialog::kCentred) ? DT_CENTER : (flags & dialog::kRightAligned) ? DT_RIGHT : DT_LEFT;
  ::DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &rect,
              align | DT_NOPREFIX | DT_SINGLELINE | DT_TOP);
  return PixelsOf(memory.get(), {0, 0, label.width, label.height});
}

}  // namespace testbed
