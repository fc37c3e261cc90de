#include "wine/testbed/settings_dialog.h"

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

}  // namespace testbed
