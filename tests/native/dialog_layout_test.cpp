#include "dialog/layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace {

using dialog::PixelRect;
using dialog::Role;

TEST(DialogLayout, WindowIsPicCPlusItsFrameCentredOnTheScreen) {
  const PixelRect at96 = dialog::SettingsWindowRect(549, 385, 1024, 768);
  EXPECT_EQ(at96, (PixelRect{233, 178, 557, 412}));
  // At 144 dpi Pic_C is 824 x 578 (823.5 and 577.5 rounded to even).
  const PixelRect picC144 = dialog::ScaleRect(dialog::kPicC96, 10, 10);
  EXPECT_EQ(picC144, (PixelRect{0, 0, 824, 578}));
  EXPECT_EQ(dialog::SettingsWindowRect(picC144.width, picC144.height, 1024, 768), (PixelRect{96, 81, 832, 605}));
}

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

TEST(DialogLayout, ListHorizontalExtentIsItsWidthInTwipsUnitsPlus300) {
  EXPECT_EQ(dialog::ListHorizontalExtent(169, 15), 311);  // 311.27, not 169 + 300
  EXPECT_EQ(dialog::ListHorizontalExtent(254, 10), 325);  // the list at 144 dpi
  EXPECT_EQ(dialog::ListHorizontalExtent(165, 15), 311);  // 311.0
  EXPECT_EQ(dialog::ListHorizontalExtent(0, 15), 300);
}

TEST(DialogLayout, SelectorsAndCheckBoxesShowPicturesOnlyForZeroAndOne) {
  using Pair = std::pair<std::optional<bool>, std::optional<bool>>;
  struct Case {
    std::int16_t value;
    Pair expected;  // option 0, option 1
  };
  const Case cases[] = {
      {0, {true, false}}, {1, {false, true}}, {2, {}}, {-1, {}}, {5, {}}, {-2, {}}, {32767, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pair(dialog::OptionPicture(c.value, 0), dialog::OptionPicture(c.value, 1)), c.expected) << c.value;
  }
  EXPECT_EQ(dialog::CheckPicture(1), std::optional<bool>(true));
  EXPECT_EQ(dialog::CheckPicture(0), std::optional<bool>(false));
  for (std::int16_t flag : {2, -1, 256}) EXPECT_EQ(dialog::CheckPicture(flag), std::nullopt) << flag;
}

TEST(DialogLayout, SpeedOutsideTheScrollBarsRangeOpensAtOne) {
  for (std::int16_t speed : {1, 2, 3}) EXPECT_EQ(dialog::SpeedScrollValue(speed), speed);
  for (std::int16_t speed : {0, 4, 7, -1, 32767, -32768}) EXPECT_EQ(dialog::SpeedScrollValue(speed), 1) << speed;
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
      {345, 317, std::make_pair(Role::Img_Button, 2)},  // the face's rim above the caption
      {345, 325, std::make_pair(Role::lbl_Button, 2)},
      {434, 330, std::make_pair(Role::Img_Button, 2)},  // right of the caption, on the face
      {440, 336, std::make_pair(Role::lbl_Button, 3)},  // the caption's last row
      {440, 337, std::make_pair(Role::Img_Button, 3)},
      {200, 360, std::make_pair(Role::lbl_URL, 0)},
      {5, 5, std::nullopt},
      {435, 330, std::nullopt},  // between the two faces
  };
  for (const Case& c : cases) {
    std::optional<std::size_t> hit = dialog::HitTest(rows, rects, c.x, c.y);
    std::optional<std::pair<Role, int>> got;
    if (hit) got = std::make_pair(rows[*hit].role, static_cast<int>(rows[*hit].index));
    EXPECT_EQ(got, c.expected) << c.x << "," << c.y;
  }
}

TEST(DialogLayout, TheHandShowsOverExactlyTheClickableElements) {
  std::set<std::pair<Role, int>> hand;
  for (dialog::PanelId panel : {dialog::PanelId::Pic_C, dialog::PanelId::LeftPanel, dialog::PanelId::RightPanel}) {
    for (const auto& row : dialog::PanelElements(panel)) {
      if (row.flags & dialog::kHand) hand.insert({row.role, row.index});
    }
  }
  std::set<std::pair<Role, int>> expected = {{Role::lbl_URL, 0}};
  for (int i = 0; i < 2; ++i) {
    for (Role role : {Role::Img_SR, Role::lbl_RS, Role::Img_Size, Role::lbl_Size}) expected.insert({role, i});
  }
  for (int i = 0; i < 4; ++i) {
    for (Role role : {Role::Img_Kind, Role::lbl_Kind, Role::lbl_Button}) expected.insert({role, i});
  }
  EXPECT_EQ(hand, expected);
}

}  // namespace
