// DisplayForm: the borderless topmost window "Rubblit(main)", its three picture surfaces and the
// state of the effect.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "display/collapse_sweep.h"
#include "display/display_surface.h"
#include "display/jagged_profile.h"
#include "display/pixel_grid.h"
#include "display/placement.h"
#include "forms/frame_pacer.h"
#include "forms/picture_loader.h"
#include "forms/picture_surface.h"
#include "forms/stirred_random.h"
#include "forms/window.h"
#include "common/common_module.h"
#include "session/movement_rule.h"
#include "session/session_end.h"

class DisplayForm : public forms::Window {
 public:
  DisplayForm(CommonModule& common, int passesPerSecond);

  // The load handler: sizes the form to the screen, prepares the first picture, shows the form
  // topmost and runs the animation until the loop is stopped.
  void Load();

 private:
  void CaptureDesktop();
  void PrepareNextPicture();
  void RunCollapse();
  // Presents the pass just drawn, then lets input in for the rest of its frame.
  bool EndOfPass();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnMouseMove(int x, int y);
  // Returns when the older platform's password check rejected; otherwise the process is gone.
  void EndSaver();
  void Paint(HDC dc);

  CommonModule& common_;
  StirredRandom random_;
  forms::FramePacer pacer_;

  forms::PictureSurface Master;
  DisplaySurface Display;
  DisplayPlacement displayPlacement_;

  std::int16_t ImageIndex = 0;
  std::int16_t ScreenWidthPx = 0;
  std::int16_t ScreenHeightPx = 0;
  SweepState sweep_;
  PixelGrid Pixels;
  std::int16_t LoopActive = 0;
  JaggedProfile profile_;
  FirstMouse firstMouse_;
  SaverSession session_;
};
