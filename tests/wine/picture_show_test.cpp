// The picture show, end to end: rubblit.scr started with /s on a folder of pictures made on the
// spot, watched on screenshots. Every picture is made of horizontal bands of colours of its own and
// fills the screen, so that a screenshot tells which picture is on the screen and where the front
// of its build-up is: the streak above the front takes the colour of the picture at the front, so
// the top row of a picture shows its lower half only in the first half of each build-up. A cycle
// is counted when another picture shows, or when the same one shows that moment again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

using Bands = std::vector<std::uint32_t>;

// The band of the picture that the colour belongs to, or -1.
int BandOf(const Bands& picture, std::uint32_t colour) {
  for (std::size_t band = 0; band < picture.size(); ++band) {
    if (Near(colour, picture[band])) return static_cast<int>(band);
  }
  return -1;
}

PixelColour Painted(const Bands& bands, int height) {
  return [=](int, int y) { return bands.at(static_cast<std::size_t>(y) * bands.size() / height); };
}

enum class Seen { Showing, Emerging, Other };

// How the screen shows this picture. Showing: the picture's colours but for a few pixels that a
// scaled or blurred band edge, or a streak of such a pixel, may hold. Emerging: most columns still
// hold what was there before, their front not yet up from the bottom.
Seen Look(const ScreenShot& shot, const Bands& picture) {
  int inside = 0, foreign = 0, columns = 0, waiting = 0;
  for (int x = 1; x < shot.width; x += 9) {
    ++columns;
    if (BandOf(picture, shot.At(x, 1)) < 0) {
      ++waiting;
      continue;
    }
    for (int y = 1; y < shot.height; y += 7) {
      ++inside;
      foreign += BandOf(picture, shot.At(x, y)) < 0;
    }
  }
  if (waiting * 2 >= columns) return Seen::Emerging;
  return foreign * 10 <= inside ? Seen::Showing : Seen::Other;
}

struct Watch {
  std::vector<int> cycles;  // the pictures in the order their cycles began
  int shots = 0;
  int misplaced = 0;  // screenshots that showed no picture whole, nor one emerging
};

// Watches until the cycles of count pictures have begun or the time is up. A cycle of picture i
// begins when it shows after another one, or when the top row shows its last band again after
// another band since its cycle began.
// everyShot sees each screenshot with the picture it showed, or -1.
Watch WatchShow(const std::vector<Bands>& pictures, std::size_t count, DWORD milliseconds,
                const std::function<void(const ScreenShot&, int)>& everyShot = {}) {
  Watch watch;
  int current = -1;
  bool late = false;
  const DWORD start = ::GetTickCount();
  while (watch.cycles.size() < count && ::GetTickCount() - start < milliseconds) {
    const ScreenShot shot = CaptureScreen();
    ++watch.shots;
    int showing = -1;
    bool emerging = false;
    for (int i = 0; i < static_cast<int>(pictures.size()) && showing < 0; ++i) {
      const Seen seen = Look(shot, pictures[i]);
      if (seen == Seen::Showing) showing = i;
      emerging = emerging || seen == Seen::Emerging;
    }
    if (everyShot) everyShot(shot, showing);
    if (showing < 0) {
      watch.misplaced += !emerging;
      continue;
    }
    const Bands& picture = pictures[showing];
    const int top = BandOf(picture, shot.At(shot.width / 2, 1));
    const bool early = top == static_cast<int>(picture.size()) - 1;
    const bool newCycle = showing != current || (early && late);
    if (newCycle) watch.cycles.push_back(showing);
    if (newCycle || early) late = false;
    if (top >= 0 && !early) late = true;
    current = showing;
  }
  return watch;
}

std::string Describe(const Watch& watch) {
  std::string text = "cycles ";
  for (int picture : watch.cycles) text += std::to_string(picture + 1) + " ";
  return text + "; " + std::to_string(watch.misplaced) + " of " + std::to_string(watch.shots) +
         " screenshots misplaced";
}

// A capture may catch a pass or a new picture's border half presented.
void ExpectPlaced(const Watch& watch) { EXPECT_LE(watch.misplaced * 10, watch.shots + 20) << Describe(watch); }

const std::vector<Bands> kTwoBands = {{Rgb(220, 30, 30), Rgb(30, 200, 40)},    {Rgb(30, 40, 220), Rgb(230, 220, 40)},
                                      {Rgb(40, 210, 220), Rgb(210, 40, 200)},  {Rgb(240, 240, 240), Rgb(240, 140, 20)},
                                      {Rgb(250, 160, 190), Rgb(20, 120, 110)}, {Rgb(120, 120, 120), Rgb(130, 70, 20)}};

class PictureShow : public SaverTest {
 protected:
  // A 640 x 480 picture of kTwoBands[i], scaled to the screen by the saver.
  void WriteBmp(const std::wstring& name, std::size_t i) const {
    pictures_.WriteBytes(name, BmpBytes(640, 480, 24, Painted(kTwoBands[i], 480)));
  }
  TempFolder pictures_;
};

// Display is not cleared between pictures: the next one is built up over the streaks of the last,
// never over black. A file that fails, or was deleted after the scan, shows the picture before it
// again.
TEST_F(PictureShow, SequentialOrderShowsEachKindInTurnOverTheStreaksOfTheLastAndRepeatsItForAFileThatFails) {
  WriteBmp(L"1.bmp", 0);
  pictures_.WriteBytes(L"2.gif", GifBytes(640, 480, Painted(kTwoBands[1], 480)));
  WriteBmp(L"3-gone.bmp", 3);
  const std::string jpeg = JpegBytes(640, 480, Painted(kTwoBands[2], 480));
  ASSERT_FALSE(jpeg.empty());
  pictures_.WriteBytes(L"4.jpg", jpeg);
  pictures_.WriteBytes(L"5-bad.bmp", BmpClaimingSize(30000, 30000));
  const int speed = 12;
  RunningSaver saver({speed, 1, 0, pictures_.path()});
  ASSERT_NE(saver.window, nullptr);
  // The window shows once the first picture is ready; the others are loaded cycles later.
  ASSERT_TRUE(::DeleteFileW(pictures_.File(L"3-gone.bmp").c_str()));

  int blackAfterFirst = 0;
  const Watch watch = WatchShow({kTwoBands[0], kTwoBands[1], kTwoBands[2], kTwoBands[3]}, 8, 90000,
                                [&](const ScreenShot& shot, int showing) {
                                  if (showing <= 0) return;
                                  for (int y = 2; y < shot.height - speed; y += 16)
                                    for (int x = 2; x < shot.width; x += 16) blackAfterFirst += shot.At(x, y) == 0;
                                });
  EXPECT_EQ(watch.cycles, (std::vector<int>{0, 1, 1, 2, 2, 0, 1, 1})) << Describe(watch);
  ExpectPlaced(watch);
  EXPECT_EQ(blackAfterFirst, 0);
}

// Random order: a sequential show fails it, and so does an order that is not built anew after
// each pass. By chance it fails once in 720 x 720 runs.
TEST_F(PictureShow, RandomOrderShowsEveryPictureOncePerPassInAnOrderBuiltAnewEachPass) {
  for (std::size_t i = 0; i < kTwoBands.size(); ++i) WriteBmp(std::to_wstring(i + 1) + L".bmp", i);
  RunningSaver saver({12, 1, 1, pictures_.path()});
  ASSERT_NE(saver.window, nullptr);

  const Watch watch = WatchShow(kTwoBands, 18, 90000);
  ASSERT_EQ(watch.cycles.size(), 18u) << Describe(watch);
  std::vector<std::vector<int>> passes;
  for (std::size_t pass = 0; pass < 3; ++pass) {
    passes.emplace_back(watch.cycles.begin() + pass * 6, watch.cycles.begin() + pass * 6 + 6);
    std::vector<int> sorted = passes.back();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4, 5})) << "pass " << pass + 1 << ": " << Describe(watch);
  }
  const std::vector<int> sequential = {0, 1, 2, 3, 4, 5};
  EXPECT_FALSE(passes[0] == sequential && passes[1] == sequential) << Describe(watch);
  EXPECT_FALSE(passes[0] == passes[1] && passes[1] == passes[2]) << "the order was not built anew: " << Describe(watch);
  ExpectPlaced(watch);
}

// One picture: its cycles follow one another, each behind a jagged front of its own. The top
// row of the picture shows, column by column, the band the front has reached.
TEST_F(PictureShow, AOnePictureFolderShowsItsPictureAgainWithANewFrontEachCycle) {
  Bands bands;
  for (int band = 0; band < 64; ++band) bands.push_back(Rgb(40 + 3 * band, 200 - 2 * band, 60 + band % 4 * 40));
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  pictures_.WriteBytes(L"only.bmp", BmpBytes(width, height, 24, Painted(bands, height)));
  RunningSaver saver({24, 1, 0, pictures_.path()});
  ASSERT_NE(saver.window, nullptr);

  // Each cycle's front, recorded once it stands between a quarter and three quarters up in the
  // middle column, as each column's band relative to the middle one's.
  std::vector<std::vector<int>> fronts;
  bool recorded = false;
  int last = -1;
  const DWORD start = ::GetTickCount();
  while (fronts.size() < 3 && ::GetTickCount() - start < 40000) {
    const ScreenShot row = Capture(0, 1, width, 1);
    const int middle = BandOf(bands, row.At(width / 2, 0));
    if (middle < 0) continue;
    if (middle > last + 32) recorded = false;  // a new build-up starts from the bottom
    last = middle;
    if (recorded || middle < 16 || middle > 48) continue;
    std::vector<int> front;
    for (int x = 4; x < width; x += 8) front.push_back(BandOf(bands, row.At(x, 0)) - middle);
    fronts.push_back(front);
    recorded = true;
  }
  ASSERT_EQ(fronts.size(), 3u) << "the picture was not shown again and again";
  for (std::size_t cycle = 1; cycle < fronts.size(); ++cycle) {
    int differing = 0;
    for (std::size_t i = 0; i < fronts[cycle].size(); ++i)
      differing += std::abs(fronts[cycle][i] - fronts[cycle - 1][i]) >= 2;
    EXPECT_GT(differing * 10, static_cast<int>(fronts[cycle].size())) << "cycle " << cycle + 1 << " kept the front";
  }
}

}  // namespace
