// SettingsForm: the skinned settings dialog. Shown modally by Main for "/c"; the process ends when
// it closes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/common_module.h"
#include "dialog/layout.h"
#include "dialog/skin.h"
#include "dialog/skin_panel.h"
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

  void TileBackground(SkinPanel& panel);
  void FillList();
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
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  CommonModule& common_;
  HMODULE resources_;
  double twipsPerPixelX_ = 15;
  double twipsPerPixelY_ = 15;
  Skin skin_;
  forms::Font labelFont_;
  forms::Font underlinedFont_;
  PanelLook look_;
  HICON icon_ = nullptr;
  SkinPanel Pic_C;
  SkinPanel rightPanel_;  // Pic_1(0)
  SkinPanel leftPanel_;   // Pic_1(1)
  SkinPanel Pic_K;
  HWND List_1 = nullptr;
  HWND HS_Speed = nullptr;
};

}  // namespace dialog
