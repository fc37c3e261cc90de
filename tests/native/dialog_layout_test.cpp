#include "dialog/layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace {

using dialog::PixelRect;
using dialog::Role;

// Every rectangle goes through twips, halves to even; the list's extent and the font follow.
TEST(DialogLayout, ScalesWithTheDpiOfTheMonitorTheDialogIsOn) {
  struct Case {
    int dpi;
    PixelRect picC, list, picK, speed;
    int listExtent, labelFontHeight;
  };
  const Case cases[] = {
      {96, {0, 0, 549, 385}, {12, 68, 169, 225}, {192, 52, 100, 100}, {24, 160, 113, 17}, 311, -13},
      // 211.25 and 281.25 down; 317.58 up; 16.25 points' pixels down.
      {120, {0, 0, 686, 481}, {15, 85, 211, 281}, {240, 65, 125, 125}, {30, 200, 141, 21}, 318, -16},
      // 823.5, 577.5, 253.5, 337.5 and 25.5 up to even, 169.5 down to even; 19.5 up.
      {144, {0, 0, 824, 578}, {18, 102, 254, 338}, {288, 78, 150, 150}, {36, 240, 170, 26}, 325, -20},
      {192, {0, 0, 1098, 770}, {24, 136, 338, 450}, {384, 104, 200, 200}, {48, 320, 226, 34}, 345, -26},
  };
  for (const Case& c : cases) {
    const dialog::DialogLayout layout = dialog::LayOutDialog(c.dpi);
    EXPECT_EQ(layout.picC, c.picC) << c.dpi;
    EXPECT_EQ(layout.list, c.list) << c.dpi;
    EXPECT_EQ(layout.picK, c.picK) << c.dpi;
    EXPECT_EQ(layout.speed, c.speed) << c.dpi;
    EXPECT_EQ(layout.listExtent, c.listExtent) << c.dpi;
    EXPECT_EQ(layout.labelFontHeight, c.labelFontHeight) << c.dpi;
  }
}

// Frames as Windows 10 draws a caption at each scale; the client area is Pic_C whatever they are.
TEST(DialogLayout, TheWindowHoldsPicCInItsFrameCentredOrAtTheCornerOfAScreenTooSmall) {
  struct Case {
    int dpi;
    dialog::FrameInsets frame;
    int screenWidth, screenHeight;
    PixelRect expected;
  };
  const Case cases[] = {
      {96, {7, 30, 7, 7}, 1920, 1080, {678, 329, 563, 422}},
      {120, {8, 37, 8, 8}, 1920, 1200, {609, 337, 702, 526}},
      {144, {11, 45, 11, 11}, 2560, 1440, {857, 403, 846, 634}},
      {192, {14, 60, 14, 14}, 3840, 2160, {1357, 658, 1126, 844}},
      {144, {11, 45, 11, 11}, 800, 600, {0, 0, 846, 634}},
  };
  for (const Case& c : cases) {
    const PixelRect picC = dialog::LayOutDialog(c.dpi).picC;
    EXPECT_EQ(dialog::SettingsWindowRect(picC.width, picC.height, c.frame, c.screenWidth, c.screenHeight), c.expected)
        << c.dpi << " on " << c.screenWidth;
  }
}

TEST(DialogLayout, LabelsAreHitBeforeTheImagesBeneathThem) {
  const auto& rows = dialog::PanelElements(dialog::PanelId::Pic_C);
  std::vector<PixelRect> rects;
  for (const auto& row : rows) rects.push_back(row.rect96);
  struct Case {
    int x, y;
    std::optional<std::pair<Role, int>> expected;
  };
  const Case cases[] = {
      {345, 317, std::make_pair(Role::Img_Button, 2)},                            // the face's rim above the caption
      {434, 330, std::make_pair(Role::Img_Button, 2)},                            // right of the caption, on the face
      {440, 336, std::make_pair(Role::lbl_Button, 3)},                            // the caption's last row
      {440, 337, std::make_pair(Role::Img_Button, 3)}, {435, 330, std::nullopt},  // between the two faces
  };
  for (const Case& c : cases) {
    std::optional<std::size_t> hit = dialog::HitTest(rows, rects, c.x, c.y);
    std::optional<std::pair<Role, int>> got;
    if (hit) got = std::make_pair(rows[*hit].role, static_cast<int>(rows[*hit].index));
    EXPECT_EQ(got, c.expected) << c.x << "," << c.y;
  }
}

TEST(DialogLayout, TheHandShowsOverExactlyTheClickableElements) {
  const std::set<Role> clickable = {Role::Img_SR,   Role::lbl_RS,   Role::Img_Size,   Role::lbl_Size,
                                    Role::Img_Kind, Role::lbl_Kind, Role::lbl_Button, Role::lbl_URL};
  for (dialog::PanelId panel : {dialog::PanelId::Pic_C, dialog::PanelId::LeftPanel, dialog::PanelId::RightPanel}) {
    for (const auto& row : dialog::PanelElements(panel)) {
      EXPECT_EQ((row.flags & dialog::kHand) != 0, clickable.count(row.role) == 1)
          << static_cast<int>(row.role) << " " << row.index;
    }
  }
}

}  // namespace
