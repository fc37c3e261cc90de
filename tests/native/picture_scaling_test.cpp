#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/picture_scaling.h"

namespace {

TEST(PictureScaling, FullScreenFillsTheScreenAlongTheLongerSide) {
  struct Case {
    std::int32_t w, h, width, height;
  };
  const Case cases[] = {
      {640, 480, 1024, 768}, {400, 600, 512, 768}, {1000, 1000, 768, 768}, {2048, 512, 1024, 256},
      {100, 50, 1024, 512},  {5, 1000, 4, 768},
      // Halves go to the even neighbour: 0.5, 1.5 and 2.5 rows.
      {2048, 1, 1024, 0}, {2048, 3, 1024, 2}, {2048, 5, 1024, 2},
      // Nothing to scale.
      {0, 0, 0, 0}, {0, 10, 0, 0}, {10, 0, 0, 0}, {-4, -2, 0, 0}};
  for (const Case& c : cases) {
    PictureSize size = FullScreenSize(c.w, c.h, 1024, 768);
    EXPECT_EQ(size.Width, c.width) << c.w << "x" << c.h;
    EXPECT_EQ(size.Height, c.height) << c.w << "x" << c.h;
  }
}

TEST(PictureScaling, ActualSizeCutsToTheScreenKeepingTheMiddle) {
  struct Case {
    std::int32_t w, h;
    PictureCrop crop;
  };
  const Case cases[] = {{1600, 1200, {1024, 768, 288, 216}},
                        {300, 200, {300, 200, 0, 0}},
                        {1025, 769, {1024, 768, 0, 0}},
                        {2000, 500, {1024, 500, 488, 0}},
                        {1024, 771, {1024, 768, 0, 1}}};
  for (const Case& c : cases) {
    PictureCrop crop = ActualSizeCrop(c.w, c.h, 1024, 768);
    EXPECT_EQ(crop.Width, c.crop.Width) << c.w << "x" << c.h;
    EXPECT_EQ(crop.Height, c.crop.Height) << c.w << "x" << c.h;
    EXPECT_EQ(crop.SourceLeft, c.crop.SourceLeft) << c.w << "x" << c.h;
    EXPECT_EQ(crop.SourceTop, c.crop.SourceTop) << c.w << "x" << c.h;
  }
}

// The positions PrepareNextPicture loads from, one call after another, and the calls after which
// the show order is built anew.
struct Walk {
  std::vector<std::int16_t> positions;
  std::vector<int> rebuildsAfter;
  std::int16_t finalIndex = 0;
};

Walk WalkShowOrder(std::int16_t imageCount, int calls) {
  Walk walk;
  std::int16_t index = 0;
  for (int call = 1; call <= calls; ++call) {
    index = AdvanceImageIndex(index);
    walk.positions.push_back(index);
    if (FinishImageIndex(index, imageCount)) walk.rebuildsAfter.push_back(call);
  }
  walk.finalIndex = index;
  return walk;
}

TEST(PictureScaling, TheIndexWalksThroughTheOrderAndStartsAgain) {
  Walk three = WalkShowOrder(3, 7);
  EXPECT_EQ(three.positions, (std::vector<std::int16_t>{1, 2, 3, 1, 2, 3, 1}));
  EXPECT_EQ(three.rebuildsAfter, (std::vector<int>{3, 6}));
  EXPECT_EQ(three.finalIndex, 1);

  Walk one = WalkShowOrder(1, 4);
  EXPECT_EQ(one.positions, (std::vector<std::int16_t>{1, 1, 1, 1}));
  EXPECT_TRUE(one.rebuildsAfter.empty());
  EXPECT_EQ(one.finalIndex, 0);
}

TEST(PictureScaling, AnIndexPastTheEndStartsAgainAndTheLastIndexDoesNotOverflow) {
  std::int16_t index = 9;
  EXPECT_TRUE(FinishImageIndex(index, 3));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(AdvanceImageIndex(32767), 32767);
  index = 32767;
  EXPECT_TRUE(FinishImageIndex(index, 32767));
  EXPECT_EQ(index, 0);
}

TEST(PictureScaling, TheFileToLoadIsTheOneAtTheOrdersPosition) {
  ImageList images;
  images.ImageFiles = {L"", L"C:\\p\\a.bmp", L"C:\\p\\b.gif", L"C:\\p\\c.jpg", L"C:\\p\\stale.wmf"};
  images.ImageCount = 3;
  const std::vector<std::int16_t> order = {0, 3, 1, 2};
  EXPECT_EQ(PictureFileAt(order, images, 1), &images.ImageFiles[3]);
  EXPECT_EQ(PictureFileAt(order, images, 3), &images.ImageFiles[2]);

  EXPECT_EQ(PictureFileAt(order, images, 0), nullptr);
  EXPECT_EQ(PictureFileAt(order, images, 4), nullptr);
}

}  // namespace
