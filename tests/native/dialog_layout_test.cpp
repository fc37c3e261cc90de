#include "dialog/layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace {

using dialog::PixelRect;
using dialog::Role;

TEST(DialogLayout, RowsScaleThroughTwipsWithHalvesToEven) {
  struct Case {
    PixelRect rect96;
    double twipsPerPixel;
    PixelRect expected;
  };
  const Case cases[] = {
      {{12, 68, 169, 225}, 15, {12, 68, 169, 225}},   // 96 dpi: unchanged
      {{12, 68, 169, 225}, 10, {18, 102, 254, 338}},  // 144 dpi: 253.5 and 337.5 go up to even
      {{24, 160, 113, 17}, 10, {36, 240, 170, 26}},   // 169.5 down to even, 25.5 up to even
      {{12, 68, 169, 225}, 12, {15, 85, 211, 281}},   // 120 dpi: 211.25, 281.25
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dialog::ScaleRect(c.rect96, c.twipsPerPixel, c.twipsPerPixel), c.expected) << c.twipsPerPixel;
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
