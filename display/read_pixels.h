// The snapshot the animation takes its colours from, read once per picture so that nothing is
// read from the window system while the animation runs.
#pragma once

#include "display/pixel_grid.h"
#include "forms/picture_surface.h"

// Copies the surface's whole bitmap (W x H) into pixels, which the caller has dimensioned as
// (0 to W, 0 to H): the picture's row y - 1 lands in row y, so row 0 stays as it was and row H
// holds the bottom row. Records that fall outside a grid of another size are skipped. When the
// transfer fails the grid is left untouched.
void ReadPixels(forms::PictureSurface& surface, PixelGrid& pixels);
