// The settings dialog's frame and caption animations, shared with the preview of a chosen picture.
#pragma once

#include <windows.h>

#include <cstdint>

namespace forms {
class PictureSurface;
}

// EDGE_RAISED: the preview box's frame.
constexpr UINT kRaisedEdge = 5;

// A 3-D edge of the given style around the box's whole picture, drawn into the picture so that it
// stays.
void DrawBoxEdge(forms::PictureSurface& box, UINT edgeStyle);

// The caption flies from the empty rectangle at the open point to the window's rectangle...
void AnimateOpen(HWND window, std::int16_t openPointX, std::int16_t openPointY);
// ... and back to the same point when the window goes.
void AnimateClose(HWND window, std::int16_t openPointX, std::int16_t openPointY);
