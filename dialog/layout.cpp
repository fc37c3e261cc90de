#include "dialog/layout.h"

#include <algorithm>

#include "forms/twips.h"

namespace dialog {

namespace {

constexpr ElementKind I = ElementKind::Image;
constexpr ElementKind L = ElementKind::Label;
constexpr int kTwipsPerDesignPixel = 15;
constexpr double kLabelFontPoints = 9.75;

// Pic_C: the buttons that close the dialog and the link.
const std::vector<ElementRow> kMainPanel = {
    {I, Role::Img_Button, 2, {340, 316, 95, 22}, L"", 0},
    {L, Role::lbl_Button, 2, {340, 320, 93, 17}, L"設定", kCentred | kHand},
    {I, Role::Img_Button, 3, {440, 316, 95, 22}, L"", 0},
    {L, Role::lbl_Button, 3, {440, 320, 93, 17}, L"ｷｬﾝｾﾙ", kCentred | kHand},
    {L, Role::lbl_URL, 0, {196, 356, 214, 13}, L"http://rubblit.example.com/", kUnderlined | kHand | kWindowTextColour},
};

// Pic_1(1): files, preview and kinds.
const std::vector<ElementRow> kLeftPanel = {
    {I, Role::Img_H, 3, {12, 8, 109, 22}, L"", kStretched},
    {L, Role::lbl, 12, {16, 12, 101, 13}, L"画像のﾌｧｲﾙ名", kCentred},
    {I, Role::Img_Button, 0, {12, 40, 109, 22}, L"", kStretched},
    {L, Role::lbl_Button, 0, {16, 44, 101, 17}, L"ﾌｫﾙﾀﾞで指定...", kCentred | kHand},
    {L, Role::lbl_Kei, 0, {128, 44, 33, 17}, L"", kRightAligned | kBorder},
    {L, Role::lbl, 8, {164, 48, 17, 13}, L"枚", 0},
    {L, Role::Folder_Path, 0, {12, 300, 285, 17}, L"", kBorder},
    {I, Role::Img_H, 4, {192, 8, 101, 22}, L"", kStretched},
    {L, Role::lbl, 6, {196, 12, 92, 13}, L"画像のﾌﾟﾚﾋﾞｭｰ", kCentred},
    {L, Role::lbl_PreSize, 0, {192, 36, 101, 13}, L"", kCentred},
    {I, Role::Img_H, 6, {192, 160, 101, 22}, L"", kStretched},
    {L, Role::lbl, 11, {192, 164, 101, 17}, L"画像の種類", kCentred},
    {I, Role::Img_Kind, 0, {208, 188, 12, 12}, L"", kHand},
    {I, Role::Img_Kind, 1, {208, 208, 12, 12}, L"", kHand},
    {I, Role::Img_Kind, 2, {208, 228, 12, 12}, L"", kHand},
    {I, Role::Img_Kind, 3, {208, 248, 12, 12}, L"", kHand},
    {L, Role::lbl_Kind, 0, {224, 188, 32, 13}, L"*.bmp", kHand},
    {L, Role::lbl_Kind, 1, {224, 208, 23, 13}, L"*.gif", kHand},
    {L, Role::lbl_Kind, 2, {224, 228, 25, 13}, L"*.jpg", kHand},
    {L, Role::lbl_Kind, 3, {224, 248, 32, 13}, L"*.wmf", kHand},
    {I, Role::Img_Button, 1, {196, 268, 95, 22}, L"", 0},
    {L, Role::lbl_Button, 1, {196, 272, 97, 17}, L"ｸﾘｱ", kCentred | kHand},
};

// Pic_1(0): change order, size and speed.
const std::vector<ElementRow> kRightPanel = {
    {I, Role::Img_H, 1, {12, 8, 109, 22}, L"", kStretched},
    {L, Role::lbl, 13, {12, 12, 109, 17}, L"画像ﾁｪﾝｼﾞ", kCentred},
    {I, Role::Img_SR, 0, {24, 40, 13, 13}, L"", kHand},
    {L, Role::lbl_RS, 0, {40, 40, 55, 13}, L"ｼｰｹﾝｼｬﾙ", kHand},
    {I, Role::Img_SR, 1, {108, 40, 13, 13}, L"", kHand},
    {L, Role::lbl_RS, 1, {124, 40, 32, 13}, L"ﾗﾝﾀﾞﾑ", kHand},
    {I, Role::Img_H, 2, {12, 68, 109, 22}, L"", kStretched},
    {L, Role::lbl, 10, {12, 72, 109, 17}, L"画像のｻｲｽﾞ", kCentred},
    {I, Role::Img_Size, 0, {24, 100, 13, 13}, L"", kHand},
    {L, Role::lbl_Size, 0, {40, 100, 42, 13}, L"ｵﾘｼﾞﾅﾙ", kHand},
    {I, Role::Img_Size, 1, {108, 100, 13, 13}, L"", kHand},
    {L, Role::lbl_Size, 1, {124, 100, 52, 13}, L"ﾌﾙｽｸﾘｰﾝ", kHand},
    {I, Role::Img_H, 0, {12, 128, 109, 22}, L"", kStretched},
    {L, Role::lbl, 0, {12, 132, 109, 17}, L"速さ（画質）", kCentred},
    {L, Role::lbl, 1, {24, 180, 27, 13}, L"遅い", 0},
    {L, Role::lbl_Speed, 0, {56, 180, 53, 13}, L"", kCentred | kWindowFont | kWindowTextColour},
    {L, Role::lbl, 2, {114, 180, 25, 13}, L"速い", kRightAligned},
    {L, Role::lbl, 3, {12, 196, 52, 13}, L"（細かい）", 0},
    {L, Role::lbl, 4, {108, 196, 39, 13}, L"（粗い）", kRightAligned},
};

int ScaleDesignPixels(int pixels96, double twipsPerPixel) {
  return static_cast<int>(forms::RoundHalfToEven(pixels96 * kTwipsPerDesignPixel / twipsPerPixel));
}

}  // namespace

const std::vector<ElementRow>& PanelElements(PanelId panel) {
  switch (panel) {
    case PanelId::LeftPanel:
      return kLeftPanel;
    case PanelId::RightPanel:
      return kRightPanel;
    case PanelId::Pic_C:
      break;
  }
  return kMainPanel;
}

PixelRect ScaleRect(const PixelRect& rect96, double twipsPerPixelX, double twipsPerPixelY) {
  return {ScaleDesignPixels(rect96.left, twipsPerPixelX), ScaleDesignPixels(rect96.top, twipsPerPixelY),
          ScaleDesignPixels(rect96.width, twipsPerPixelX), ScaleDesignPixels(rect96.height, twipsPerPixelY)};
}

PixelRect SettingsWindowRect(int clientWidth, int clientHeight, const FrameInsets& frame, int screenWidth,
                             int screenHeight) {
  PixelRect rect;
  rect.width = frame.left + clientWidth + frame.right;
  rect.height = frame.top + clientHeight + frame.bottom;
  rect.left = std::max((screenWidth - rect.width) / 2, 0);
  rect.top = std::max((screenHeight - rect.height) / 2, 0);
  return rect;
}

DialogLayout LayOutDialog(int dpi) {
  DialogLayout layout;
  const double twips = forms::TwipsPerPixel(dpi);
  layout.twipsPerPixel = twips;
  layout.picC = ScaleRect(kPicC96, twips, twips);
  layout.rightPanel = ScaleRect(kRightPanel96, twips, twips);
  layout.leftPanel = ScaleRect(kLeftPanel96, twips, twips);
  layout.list = ScaleRect(kList96, twips, twips);
  layout.picK = ScaleRect(kPicK96, twips, twips);
  layout.speed = ScaleRect(kSpeed96, twips, twips);
  layout.listExtent = static_cast<int>(forms::RoundHalfToEven(layout.list.width / twips + 300));
  layout.labelFontHeight = -static_cast<int>(forms::RoundHalfToEven(kLabelFontPoints * (1440.0 / twips) / 72));
  return layout;
}

std::vector<TilePosition> TilePositions(int panelWidth, int panelHeight, int tileWidth, int tileHeight) {
  std::vector<TilePosition> positions;
  // A tile of no size would never leave the panel.
  if (tileWidth <= 0 || tileHeight <= 0) return positions;
  int x = 0;
  int y = 0;
  for (;;) {
    positions.push_back({x, y});
    if (y > panelHeight) {
      if (x > panelWidth) return positions;
      x += tileWidth;
      y = 0;
    } else {
      y += tileHeight;
    }
  }
}

std::optional<bool> OptionPicture(std::int16_t value, std::int16_t index) {
  if (value == index) return true;
  if ((value ^ 1) == index) return false;
  return std::nullopt;
}

std::optional<bool> CheckPicture(std::int16_t flag) {
  if (flag == 1) return true;
  if (flag == 0) return false;
  return std::nullopt;
}

int SpeedScrollValue(std::int16_t speed) {
  return speed >= kSpeedMinimum && speed <= kSpeedMaximum ? speed : kSpeedMinimum;
}

std::optional<std::size_t> HitTest(const std::vector<ElementRow>& rows, const std::vector<PixelRect>& rects, int x,
                                   int y) {
  const std::size_t count = rows.size() < rects.size() ? rows.size() : rects.size();
  for (ElementKind kind : {ElementKind::Label, ElementKind::Image}) {
    for (std::size_t i = count; i-- > 0;) {
      if (rows[i].kind == kind && rects[i].Contains(x, y)) return i;
    }
  }
  return std::nullopt;
}

}  // namespace dialog
