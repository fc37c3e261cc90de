#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/picture_scaling.h"

namespace {

TEST(PictureScaling, FullScreenFillsTheScreenAlongTheLongerSide) {
  struct Case {
    std::int32_t w, h, width, height;
  };
  // The last picture is 2.5 rows high on the screen: halves go to the even neighbour.
  const Case cases[] = {{640, 480, 1024, 768},   {400, 600, 512, 768}, {1000, 1000, 768, 768}, {2048, 512, 1024, 256},
                        {1000, 999, 1024, 1023}, {5, 1000, 4, 768},    {2048, 5, 1024, 2}};
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

TEST(PictureScaling, TheIndexWalksThroughTheOrderAndStartsAgainWithANewOrderForMoreThanOnePicture) {
  for (std::int16_t count : {3, 1, 32767}) {
    std::int16_t index = 0;
    for (int call = 1; call <= 2 * count + 1; ++call) {
      index = AdvanceImageIndex(index);
      EXPECT_EQ(index, (call - 1) % count + 1) << count << " pictures, call " << call;
      EXPECT_EQ(FinishImageIndex(index, count), count > 1 && call % count == 0) << count << " pictures, call " << call;
    }
  }
}

}  // namespace
