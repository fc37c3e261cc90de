// How the settings dialog's preview box fits a picture: kept in its aspect, as large as the
// square box allows. No Win32 here.
#pragma once

struct PreviewFit {
  // The box's width and height before rounding (single precision, as the box takes them).
  float width = 0;
  float height = 0;
  // What the box and the stretched copy take: the nearest whole pixels, halves to even, and never
  // less than one, since a box without area would make a picture disappear.
  int boxWidth = 0;
  int boxHeight = 0;
};

// A picture of width x height pixels in a square box of boxSide pixels: the longer side fills the
// box (a square picture fills it whole), the other one keeps the aspect. Nothing fits a picture
// without area: the box stays whole then.
PreviewFit FitPreview(int width, int height, int boxSide);
