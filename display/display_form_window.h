// DisplayForm: the borderless topmost window "Rubblit(main)", its three picture surfaces and the
// state of the effect.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "display/collapse_sweep.h"
#include "display/display_surface.h"
#include "display/jagged_profile.h"
#include "display/monitor_layout.h"
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

// One monitor's share of the form: the picture shown there, at that monitor's size, and the
// surface it is swept onto, with a front of its own.
struct ScreenPart {
  ScreenRect Monitor;  // screen pixels
  std::int16_t ScreenWidthPx = 0;
  std::int16_t ScreenHeightPx = 0;
  forms::PictureSurface Master;
  DisplaySurface Display;
  DisplayPlacement displayPlacement;  // in the window
  PixelGrid Pixels;
  JaggedProfile profile;
  SweepState sweep;
};

class DisplayForm : public forms::Window {
 public:
  DisplayForm(CommonModule& common, int passesPerSecond);

  // The load handler: sizes the form to the virtual screen, prepares the first picture for every
  // monitor, shows the form topmost and runs the animation until the loop is stopped.
  void Load();

 private:
  // The monitors to cover, each with its surfaces made at its size; where that memory cannot be
  // had, the primary monitor alone.
  void ChooseMonitors();
  bool MakeParts();
  void CaptureDesktop();
  void PrepareNextPicture();
  void RunCollapse();
  // Presents the pass just drawn, then lets input in for the rest of its frame.
  bool EndOfPass();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnMouseMove(int x, int y);
  // Returns when the older platform's password check rejected, or when a session end is already
  // under way; otherwise the process is gone.
  void EndSaver();
  // After the saver's window lost the activation: ends the session when another program has it.
  void JudgeActivation();
  // After a change of the monitors: the window over the whole new virtual screen.
  void CoverVirtualScreen();
  // A part's monitor in the window's coordinates.
  RECT MonitorInWindow(const ScreenPart& part) const;
  void Paint(HDC dc);

  CommonModule& common_;
  StirredRandom random_;
  forms::FramePacer pacer_;

  MonitorLayout layout_;  // its Window is where the window stands
  std::vector<std::unique_ptr<ScreenPart>> parts_;
  std::vector<SweepPart> sweeps_;  // room for every part, made before the loop

  std::int16_t ImageIndex = 0;
  std::int16_t LoopActive = 0;
  FirstMouse firstMouse_;  // in screen pixels
  SaverSession session_;
  bool ending_ = false;
};
