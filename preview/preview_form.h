// PreviewForm: the small black form that shows a fixed picture of the effect in the host's
// preview pane. It does not animate and does not read the settings.
#pragma once

#include <windows.h>

#include <optional>

#include "forms/picture_loader.h"
#include "forms/window.h"

class PreviewForm : public forms::Window {
 public:
  // resources is the module that holds the preview picture; nullptr means the program itself.
  explicit PreviewForm(HMODULE resources = nullptr);
  ~PreviewForm() override;

  // Creates the form hidden, with its picture. False when the window cannot be made; a picture
  // that cannot be read leaves the form black.
  bool Load();
  // Runs the unload handler and destroys the window. When the form goes, by this or because the
  // host destroyed the pane it lives in, the process's message loop ends.
  void Unload();

  // The area, in the form's pixels, in which Img_Prev may draw its picture. The picture itself is
  // always drawn at its natural size from the area's top-left corner.
  void PlaceImage(int left, int top, int width, int height);

 private:
  struct ImageElement {
    int left = 0;
    int top = 0;
    int width = 152;
    int height = 112;
  };

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void LoadPicture();
  void Paint();

  HMODULE resources_;
  ImageElement Img_Prev;
  std::optional<forms::LoadedPicture> picture_;
};
