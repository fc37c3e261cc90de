#include "wine/testbed/settings_dialog.h"

#include <algorithm>
#include <optional>

#include "forms/handles.h"
#include "forms/picture_loader.h"
#include "wine/testbed/host_window.h"

namespace testbed {

namespace {

struct ChildSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ChildSearch*>(parameter);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (::lstrcmpiW(name, search->className) == 0) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> Children(HWND window, const wchar_t* className) {
  ChildSearch search{className, {}};
  if (window) ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsLight(std::uint32_t pixel) {
  // The tile's colours and Pic_K's are light greys; the panels' own colour is 128, 128, 128 and the
  // screen behind a window not yet painted is black.
  return ((pixel >> 16) & 0xFF) >= 160 && ((pixel >> 8) & 0xFF) >= 160 && (pixel & 0xFF) >= 160;
}

}  // namespace

Pixels Crop(const Pixels& from, const At& at) {
  Pixels part{at.width, at.height, {}};
  for (int y = at.top; y < at.top + at.height; ++y) {
    for (int x = at.left; x < at.left + at.width; ++x) {
      part.values.push_back(from.values.at(static_cast<std::size_t>(y * from.width + x)));
    }
  }
  return part;
}

std::vector<std::wstring> SettingsLines(const std::wstring& changeOrder, const std::wstring& imageSize,
                                        const std::wstring& folder, const std::wstring& kinds,
                                        const std::wstring& speed) {
  std::vector<std::wstring> lines = {L"画像ﾁｪﾝｼﾞ=" + changeOrder, L"画像のｻｲｽﾞ=" + imageSize, L"画像のﾌｫﾙﾀﾞ=" + folder};
  for (std::size_t n = 0; n < 4; ++n) lines.push_back(L"画像種類_" + std::to_wstring(n) + L"=" + kinds.substr(n, 1));
  lines.push_back(L"速さ=" + speed);
  return lines;
}

Pixels SkinPicture(const std::wstring& program, int resourceId) {
  Pixels pixels;
  forms::Library module(program.c_str(), LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return pixels;
  std::optional<forms::LoadedPicture> picture = forms::LoadPictureResource(module.get(), resourceId);
  if (!picture) return pixels;
  pixels.width = picture->width();
  pixels.height = picture->height();
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      COLORREF c = ::GetPixel(picture->dc(), x, y);
      pixels.values.push_back(Rgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  }
  return pixels;
}

Pixels ScreenPixels(const RECT& rect) {
  ScreenShot shot = Capture(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return Pixels{shot.width, shot.height, shot.pixels};
}

SettingsDialog::SettingsDialog(const SaverProcess& process, DWORD milliseconds) {
  HWND window = process.WaitForWindow(kSettingsCaption, milliseconds);
  if (!window) return;
  const bool painted = PumpUntil(
      [&] {
        std::vector<HWND> panels = Children(window, L"RubblitSkinPanel");
        if (!::IsWindowVisible(window) || panels.size() != 4) return false;
        // Each panel shows its tiled or light grey picture inside the corners of what the
        // dialog's client area leaves visible of it.
        RECT dialogClient{};
        ::GetClientRect(window, &dialogClient);
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&dialogClient), 2);
        for (HWND panel : panels) {
          RECT visible{};
          ::GetWindowRect(panel, &visible);
          ::IntersectRect(&visible, &visible, &dialogClient);
          ScreenShot shot = Capture(visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top);
          if (shot.width < 8 || shot.height < 8 || !IsLight(shot.At(2, 2)) ||
              !IsLight(shot.At(shot.width - 3, shot.height - 3))) {
            return false;
          }
        }
        return true;
      },
      milliseconds);
  if (painted) window_ = window;
}

std::vector<HWND> SettingsDialog::Panels() const { return Children(window_, L"RubblitSkinPanel"); }

DialogPanels SettingsDialog::FindPanels() const {
  std::vector<HWND> panels = Panels();
  auto area = [](HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return (rect.right - rect.left) * (rect.bottom - rect.top);
  };
  std::sort(panels.begin(), panels.end(), [&](HWND a, HWND b) { return area(a) > area(b); });
  DialogPanels found;
  if (panels.size() == 4) found = {panels[0], panels[1], panels[2], panels[3]};
  return found;
}

std::vector<std::wstring> SettingsDialog::ListLines() const {
  std::vector<std::wstring> lines;
  HWND list = List();
  const LRESULT count = list ? ::SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    lines.push_back(text);
  }
  return lines;
}

HWND SettingsDialog::List() const {
  std::vector<HWND> lists = Children(window_, L"ListBox");
  return lists.empty() ? nullptr : lists[0];
}

HWND SettingsDialog::SpeedBar() const {
  std::vector<HWND> bars = Children(window_, L"ScrollBar");
  return bars.empty() ? nullptr : bars[0];
}

RECT SettingsDialog::OnScreen(HWND window, int left, int top, int width, int height) {
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  return RECT{origin.x + left, origin.y + top, origin.x + left + width, origin.y + top + height};
}

RECT SettingsDialog::RelativeTo(HWND child, HWND ancestor) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ancestor, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Pixels LabelOverTile(const Pixels& tile, const At& label, const std::wstring& text, UINT format, bool border) {
  forms::WindowDC screen(nullptr);
  forms::MemoryDC memory(screen.get());
  forms::Bitmap canvas(::CreateCompatibleBitmap(screen.get(), label.width, label.height));
  forms::SelectedObject selectedCanvas(memory.get(), canvas.get());
  for (int y = 0; y < label.height; ++y) {
    for (int x = 0; x < label.width; ++x) {
      const std::uint32_t c = tile.values.at(static_cast<std::size_t>(((label.top + y) % tile.height) * tile.width +
                                                                      (label.left + x) % tile.width));
      ::SetPixel(memory.get(), x, y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    }
  }
  RECT rect{0, 0, label.width, label.height};
  if (border) {
    forms::Brush frame(::CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME)));
    ::FrameRect(memory.get(), &rect, frame.get());
    ::InflateRect(&rect, -1, -1);
  }
  forms::Font font(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック"));
  forms::SelectedObject selectedFont(memory.get(), font.get());
  ::SetBkMode(memory.get(), TRANSPARENT);
  ::SetTextColor(memory.get(), ::GetSysColor(COLOR_BTNTEXT));
  ::DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &rect,
              format | DT_NOPREFIX | DT_SINGLELINE | DT_TOP);
  Pixels pixels{label.width, label.height, {}};
  for (int y = 0; y < label.height; ++y) {
    for (int x = 0; x < label.width; ++x) {
      const COLORREF c = ::GetPixel(memory.get(), x, y);
      pixels.values.push_back(Rgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  }
  return pixels;
}

}  // namespace testbed
