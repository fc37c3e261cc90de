// The settings dialog's layout as data: one row per windowless element, rectangles in pixels at
// 96 dpi (the design unit is twips, 15 to such a pixel), and the arithmetic that places the window,
// scales the rows and tiles the panels. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace dialog {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
  bool operator==(const PixelRect& other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
  }
};

enum class ElementKind { Image, Label };

// What an element is for. With the index of its row it names one element of a control array.
enum class Role {
  Img_H,
  lbl,
  Img_Button,
  lbl_Button,
  lbl_URL,
  lbl_Kei,
  Folder_Path,
  lbl_PreSize,
  Img_Kind,
  lbl_Kind,
  Img_SR,
  lbl_RS,
  Img_Size,
  lbl_Size,
  lbl_Speed,
};

enum ElementFlag : unsigned {
  kCentred = 1u << 0,
  kRightAligned = 1u << 1,
  kBorder = 1u << 2,
  kUnderlined = 1u << 3,
  kHand = 1u << 4,
  kStretched = 1u << 5,
  kWindowFont = 1u << 6,        // the window's default font rather than the dialog's Japanese one
  kWindowTextColour = 1u << 7,  // rather than the button-text colour
};

struct ElementRow {
  ElementKind kind;
  Role role;
  std::int16_t index;
  PixelRect rect96;
  const wchar_t* caption;  // a label's design caption; empty for images and captions set at run time
  unsigned flags;
};

enum class PanelId { Pic_C, LeftPanel, RightPanel };

// Pic_1(1) is the left panel, Pic_1(0) the right one.
const std::vector<ElementRow>& PanelElements(PanelId panel);

// The child windows, at 96 dpi in their container's pixels.
constexpr PixelRect kPicC96{0, 0, 549, 385};
constexpr PixelRect kRightPanel96{336, 12, 197, 225};  // Pic_1(0), in Pic_C
constexpr PixelRect kLeftPanel96{12, 12, 313, 329};    // Pic_1(1), in Pic_C
constexpr PixelRect kList96{12, 68, 169, 225};         // List_1, in Pic_1(1)
constexpr PixelRect kPicK96{192, 52, 100, 100};        // Pic_K, in Pic_1(1)
constexpr PixelRect kSpeed96{24, 160, 113, 17};        // HS_Speed, in Pic_1(0)

// The tile's size in pixels; the skin picture has it at every dpi.
constexpr int kTileWidth = 555;
constexpr int kTileHeight = 20;

// A row's rectangle on a display of the given twips per pixel: each value is twips (pixels at 96
// dpi times 15) over twips per pixel, rounded halves to even.
PixelRect ScaleRect(const PixelRect& rect96, double twipsPerPixelX, double twipsPerPixelY);

// What a window's frame adds around its client area, in pixels, on each side.
struct FrameInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The window whose client area is exactly clientWidth x clientHeight with this frame, centred on a
// screen of screenWidth x screenHeight pixels; on a screen too small for it, at its top-left
// corner, so that the caption stays within reach.
PixelRect SettingsWindowRect(int clientWidth, int clientHeight, const FrameInsets& frame, int screenWidth,
                             int screenHeight);

// The child windows and fonts of the dialog on a display of dpi dots per inch: what the dialog
// takes when it opens and again whenever its monitor's dpi changes.
struct DialogLayout {
  double twipsPerPixel = 15;
  PixelRect picC, rightPanel, leftPanel, list, picK, speed;
  // LB_SETHORIZONTALEXTENT for List_1: its width in pixels over twips per pixel, plus 300, rounded
  // halves to even. 311 at 96 dpi.
  int listExtent = 0;
  // CreateFont's height of the labels' 9.75-point font: minus its em height in pixels.
  int labelFontHeight = 0;
};
DialogLayout LayOutDialog(int dpi);

struct TilePosition {
  int x = 0;
  int y = 0;
  bool operator==(const TilePosition& other) const { return x == other.x && y == other.y; }
};

// Where TileBackground copies the tile, in order: column by column, top to bottom; a column ends
// with the copy that starts below the panel, the last column is the one that starts beyond its
// right edge (both tests strictly greater).
std::vector<TilePosition> TilePositions(int panelWidth, int panelHeight, int tileWidth, int tileHeight);

// Which picture an option element of index `index` takes for the selector's value: the selected
// one (true), the other (false), or none when the value is neither 0 nor 1.
std::optional<bool> OptionPicture(std::int16_t value, std::int16_t index);

// The check-box picture for an image-kind flag: on for 1, off for 0, none otherwise.
std::optional<bool> CheckPicture(std::int16_t flag);

// HS_Speed's range, and the value it shows for a Speed from the settings: out of range gives its
// lowest value.
constexpr int kSpeedMinimum = 1;
constexpr int kSpeedMaximum = 3;
int SpeedScrollValue(std::int16_t speed);

// The element whose rectangle holds (x, y): a label before an image (labels lie above), the later
// row of a kind before the earlier. Nothing when no element is there.
std::optional<std::size_t> HitTest(const std::vector<ElementRow>& rows, const std::vector<PixelRect>& rects, int x,
                                   int y);

}  // namespace dialog
