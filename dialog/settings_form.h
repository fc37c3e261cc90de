// SettingsForm: the skinned settings dialog. Shown modally by Main for "/c"; the process ends when
// it closes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/common_module.h"
#include "dialog/layout.h"
#include "dialog/skin.h"
#include "dialog/skin_panel.h"
#include "forms/directory.h"
#include "forms/handles.h"
#include "forms/window.h"

namespace dialog {

class SettingsForm final : public forms::Window, private PanelEvents {
 public:
  // resources is the module that holds the skin, icon and hand pointer; nullptr means the program.
  SettingsForm(CommonModule& common, HMODULE resources = nullptr);
  ~SettingsForm() override;

  // Loads the form (the opening sequence), shows it and returns when it has closed.
  void ShowModal();

 private:
  bool Load();
  // The closing animation, then the window goes.
  void Unload();

  // The labels' fonts and the window's default font at dpi, given to the panels and the list.
  void MakeFonts(int dpi);
  // The window at dpi: its client area exactly Pic_C, centred on the primary screen.
  PixelRect WindowRectAt(int dpi) const;
  // Lays the dialog out again at dpi, in the window rectangle given (the one the system suggests)
  // or, without one, in WindowRectAt(dpi). What the user has done stays as it is.
  void ApplyDpi(int dpi, const RECT* window);
  // Corrects the window's size where its frame is not the one reckoned with (a system that scales
  // the caption otherwise), so that the client area is Pic_C all the same.
  void FitClientArea();
  // Whatever of the client area a frame leaves outside Pic_C shows the skin too.
  void PaintSurround(HDC dc) const;

  void TileBackground(SkinPanel& panel);
  void ShowImageFiles();
  // List_1 becomes the names shown for count paths from paths[first] on.
  void ListNames(const std::vector<std::wstring>& paths, std::size_t first, std::size_t count);
  std::wstring ListLine(LRESULT index) const;

  // The folder button: the shell's browser, then the chosen folder's images in scan order.
  void ChooseFolder();
  // A check box of the image kinds (0 bmp, 1 gif, 2 jpg, 3 wmf): the flag flips and the folder shown
  // is listed again, sorted, with the kinds now enabled.
  void ToggleImageKind(std::int16_t index);
  // A click in List_1: the selected file's size and a copy that fits the preview box. A click or key
  // that reaches the list while a picture loads abandons that load; what the list was told is then
  // handled, and only where the selection stands is loaded: quick clicks down the list load the last.
  void PreviewSelectedImage();
  // The file of a list line in Pic_K, loaded at the size the box shows it, and its size in
  // lbl_PreSize; false, with both left as they were, when a click or key for the list came first.
  bool ShowPreview(const std::wstring& name);
  // Whether a click or key waits for List_1.
  bool ListInputWaits() const;
  // The clicks and keys that reached List_1 while a picture loaded, handled in their order.
  void TakeListInput();
  void SelectOption(Role optionRole, std::int16_t index, std::int16_t& field);
  void ShowSpeed();
  void PressButton(std::int16_t index);
  void ReleaseButton(std::int16_t index);
  void OpenLink();

  // Runs over the three panels that hold elements: the first that has (role, index) takes it.
  bool SetPicture(Role role, std::int16_t index, const forms::LoadedPicture* picture);
  bool SetCaption(Role role, std::int16_t index, const std::wstring& caption);
  std::wstring Caption(Role role, std::int16_t index) const;

  void ElementPressed(Role role, std::int16_t index) override;
  void ElementReleased(Role role, std::int16_t index) override;
  void PressAbandoned(Role role, std::int16_t index) override;
  void Scrolled(HWND scrollBar, int code, int trackPosition) override;
  void ControlNotified(HWND control, int code) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  CommonModule& common_;
  HMODULE resources_;
  int dpi_ = 96;
  DialogLayout layout_;
  Skin skin_;
  forms::Font labelFont_;
  forms::Font underlinedFont_;
  forms::Font windowFont_;
  PanelLook look_;
  HICON icon_ = nullptr;
  SkinPanel Pic_C;
  SkinPanel rightPanel_;  // Pic_1(0)
  SkinPanel leftPanel_;   // Pic_1(1)
  SkinPanel Pic_K;
  HWND List_1 = nullptr;
  HWND HS_Speed = nullptr;
  // The size of the picture Pic_K shows, in its own pixels; nothing while the box is empty.
  std::optional<std::pair<int, int>> previewed_;
  forms::FileSystemDirectory directory_;
  // The full paths of the last folder choice, in scan order.
  std::vector<std::wstring> FoundFiles;
  // A folder choice is under way, from its browser to its filled list. The scan lets the dialog
  // handle input meanwhile; what would change the folder, the list or the kinds waits for its end.
  bool choosingFolder_ = false;
  // A preview is under way: a selection made meanwhile is taken up by it, not by a preview of its own.
  bool previewing_ = false;
};

}  // namespace dialog
