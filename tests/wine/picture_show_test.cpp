// The picture show, end to end: rubblit.scr started with /s on a folder of pictures made on the
// spot, watched on screenshots. Every picture is made of horizontal bands of colours of its own,
// so that a screenshot tells which picture is on the screen, where it stands, and where the front
// of its build-up is: the streak above the front takes the colour of the picture at the front, so
// the top row of a picture shows its lower half only in the first half of each build-up. A cycle
// is counted when another picture shows, or when the same one shows that moment again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

// A picture as it stands on the screen: its area and its bands, top to bottom.
struct Shown {
  RECT area;
  std::vector<std::uint32_t> bands;
  int BandAt(int row) const { return (row - area.top) * static_cast<int>(bands.size()) / (area.bottom - area.top); }
};

Shown Centred(int width, int height, std::vector<std::uint32_t> bands) {
  const int left = (ScreenWidth() - width) / 2, top = (ScreenHeight() - height) / 2;
  return {{left, top, left + width, top + height}, std::move(bands)};
}

bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    // JPEG blurs its colours a little; these pictures' colours lie far apart.
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40) return false;
  }
  return true;
}

// The band of this picture that the colour belongs to, or -1.
int BandOf(const Shown& picture, std::uint32_t colour) {
  for (std::size_t band = 0; band < picture.bands.size(); ++band) {
    if (Near(colour, picture.bands[band])) return static_cast<int>(band);
  }
  return -1;
}

PixelColour Bands(const std::vector<std::uint32_t>& bands, int height) {
  return [=](int, int y) { return bands.at(static_cast<std::size_t>(y) * bands.size() / height); };
}

std::string Bmp(int width, int height, const std::vector<std::uint32_t>& bands) {
  return BmpBytes(width, height, 24, Bands(bands, height));
}

enum class Seen { Showing, Emerging, Other };

// How the screen shows this picture. Showing: nothing lit outside its area, and inside it the
// picture's colours but for a few pixels that a scaled or blurred band edge, or a streak of such a
// pixel, may hold. Emerging: nothing lit outside its area, but most of its columns still hold what
// was there before, their front not yet up from the bottom.
Seen Look(const ScreenShot& shot, const Shown& picture) {
  const RECT& a = picture.area;
  int inside = 0, foreign = 0, columns = 0, waiting = 0;
  for (int x = 1; x < shot.width; x += 9) {
    const bool within = x >= a.left && x < a.right;
    const bool painted = within && BandOf(picture, shot.At(x, a.top + 1)) >= 0;
    columns += within;
    waiting += within && !painted;
    for (int y = 1; y < shot.height; y += 7) {
      const std::uint32_t pixel = shot.At(x, y);
      if (within && y >= a.top && y < a.bottom) {
        inside += painted;
        foreign += painted && BandOf(picture, pixel) < 0;
      } else if (pixel != 0 && (x < a.left - 2 || x >= a.right + 2 || y < a.top - 2 || y >= a.bottom + 2)) {
        return Seen::Other;
      }
    }
  }
  if (waiting * 2 >= columns) return Seen::Emerging;
  return foreign * 10 <= inside ? Seen::Showing : Seen::Other;
}

struct Watch {
  std::vector<int> cycles;  // the pictures in the order their cycles began
  int shots = 0;
  int misplaced = 0;  // screenshots that showed no picture as it must stand, nor one emerging
};

// Watches until the cycles of count pictures have begun or the time is up. A cycle of picture i
// begins when it shows after another one, or when the top row of its area shows its last band
// again after another band since its cycle began.
// everyShot sees each screenshot with the picture it showed, or -1.
Watch WatchShow(const std::vector<Shown>& pictures, std::size_t count, DWORD milliseconds,
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
    const Shown& picture = pictures[showing];
    const int top = BandOf(picture, shot.At((picture.area.left + picture.area.right) / 2, picture.area.top + 1));
    const bool early = top == static_cast<int>(picture.bands.size()) - 1;
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
  return text + "; " + std::to_string(watch.misplaced) + " of " + std::to_string(watch.shots) + " screenshots misplaced";
}

// A capture may catch a pass or a new picture's border half presented.
void ExpectPlaced(const Watch& watch) { EXPECT_LE(watch.misplaced * 10, watch.shots + 20) << Describe(watch); }

const std::uint32_t kRed = Rgb(220, 30, 30), kGreen = Rgb(30, 200, 40), kBlue = Rgb(30, 40, 220);
const std::uint32_t kYellow = Rgb(230, 220, 40), kCyan = Rgb(40, 210, 220), kMagenta = Rgb(210, 40, 200);
const std::uint32_t kWhite = Rgb(240, 240, 240), kOrange = Rgb(240, 140, 20), kGrey = Rgb(120, 120, 120);
const std::uint32_t kPink = Rgb(250, 160, 190), kTeal = Rgb(20, 120, 110), kBrown = Rgb(130, 70, 20);

const std::vector<std::vector<std::uint32_t>> kTwoBands = {
    {kRed, kGreen}, {kBlue, kYellow}, {kCyan, kMagenta}, {kWhite, kOrange}, {kPink, kTeal}, {kGrey, kBrown}};

Shown Filling(const std::vector<std::uint32_t>& bands) { return Centred(ScreenWidth(), ScreenHeight(), bands); }

class PictureShow : public SaverTest {
 protected:
  void SetUp() override {
    SaverTest::SetUp();
    ASSERT_EQ(ScreenWidth(), 1024) << "the test bed's screen is 1024 x 768";
    ASSERT_EQ(ScreenHeight(), 768) << "the test bed's screen is 1024 x 768";
  }
  TempFolder pictures_;
};

TEST_F(PictureShow, SequentialOrderShowsEachKindInTurnOverTheStreaksOfTheLast) {
  pictures_.WriteBytes(L"1.bmp", Bmp(640, 480, kTwoBands[0]));
  pictures_.WriteBytes(L"2.gif", GifBytes(640, 480, Bands(kTwoBands[1], 480)));
  const std::string jpeg = JpegBytes(640, 480, Bands(kTwoBands[2], 480));
  ASSERT_FALSE(jpeg.empty());
  pictures_.WriteBytes(L"3.jpg", jpeg);
  SaverSettings settings;
  settings.speed = 16;
  settings.folder = pictures_.path();
  RunningSaver saver(settings);
  ASSERT_NE(saver.window, nullptr);

  // Display is not cleared between pictures: the next one is built up over the streaks of the
  // last, never over black, and each covers the screen.
  int blackAfterFirst = 0;
  const Watch watch = WatchShow({Filling(kTwoBands[0]), Filling(kTwoBands[1]), Filling(kTwoBands[2])},
                                7, 60000, [&](const ScreenShot& shot, int showing) {
                                  if (showing <= 0) return;
                                  for (int y = 2; y < shot.height - settings.speed; y += 16)
                                    for (int x = 2; x < shot.width; x += 16) blackAfterFirst += shot.At(x, y) == 0;
                                });
  EXPECT_EQ(watch.cycles, (std::vector<int>{0, 1, 2, 0, 1, 2, 0})) << Describe(watch);
  ExpectPlaced(watch);
  EXPECT_EQ(blackAfterFirst, 0);
}

// Random order: a sequential show fails it, and so does an order that is not built anew after
// each pass. By chance it fails once in 720 x 720 runs.
TEST_F(PictureShow, RandomOrderShowsEveryPictureOncePerPassInAnOrderBuiltAnewEachPass) {
  std::vector<Shown> shown;
  for (std::size_t i = 0; i < kTwoBands.size(); ++i) {
    pictures_.WriteBytes(std::to_wstring(i + 1) + L".bmp", Bmp(64, 48, kTwoBands[i]));
    shown.push_back(Filling(kTwoBands[i]));
  }
  SaverSettings settings;
  settings.speed = 12;
  settings.changeOrder = 1;
  settings.folder = pictures_.path();
  RunningSaver saver(settings);
  ASSERT_NE(saver.window, nullptr);

  const Watch watch = WatchShow(shown, 18, 90000);
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

TEST_F(PictureShow, BadFilesAndAFileDeletedAfterTheScanRepeatThePictureBeforeThem) {
  // Listed first: nothing has been shown yet when they fail.
  pictures_.WriteBytes(L"1-empty.bmp", "");
  pictures_.WriteBytes(L"4-text.jpg", "This is not a picture, only some text.\r\n");
  pictures_.WriteBytes(L"5-huge.bmp", BmpClaimingSize(30000, 30000));
  pictures_.WriteBytes(L"6-good.bmp", Bmp(640, 480, kTwoBands[0]));
  pictures_.WriteBytes(L"7-gone.bmp", Bmp(640, 480, kTwoBands[2]));
  pictures_.WriteBytes(L"8-good.gif", GifBytes(640, 480, Bands(kTwoBands[1], 480)));
  SaverSettings settings;
  settings.speed = 12;
  settings.folder = pictures_.path();
  RunningSaver saver(settings);
  ASSERT_NE(saver.window, nullptr);
  // The window shows once the first picture is ready; the others are loaded cycles later.
  ASSERT_TRUE(::DeleteFileW(pictures_.File(L"7-gone.bmp").c_str()));

  // After the good ones the first bad file of the next pass shows the last good one again.
  const Watch watch =
      WatchShow({Filling(kTwoBands[0]), Filling(kTwoBands[1]), Filling(kTwoBands[2])}, 4, 40000);
  EXPECT_EQ(watch.cycles, (std::vector<int>{0, 0, 1, 1})) << Describe(watch);
  EXPECT_FALSE(saver.process.WaitForExit(0));
}

TEST_F(PictureShow, WhenEveryFileFailsTheScreenStaysBlackAndAKeyStillEndsTheSaver) {
  pictures_.WriteBytes(L"empty.bmp", "");
  pictures_.WriteBytes(L"text.jpg", "This is not a picture, only some text.\r\n");
  pictures_.WriteBytes(L"huge.bmp", BmpClaimingSize(30000, 30000));
  SaverSettings settings;
  settings.folder = pictures_.path();
  RunningSaver saver(settings);
  ASSERT_TRUE(saver.WaitUntilShowing({0}));
  const ScreenShot shot = CaptureScreen();
  int lit = 0;
  for (int y = 0; y < shot.height; y += 8)
    for (int x = 0; x < shot.width; x += 8) lit += shot.At(x, y) != 0;
  EXPECT_EQ(lit, 0) << "with nothing to show the screen is the form's black";
  PressKey('Q');
  EXPECT_TRUE(saver.EndsWithin(20000));
}

// One picture: its cycles follow one another, each behind a jagged front of its own. The top
// row of the picture shows, column by column, the band the front has reached.
TEST_F(PictureShow, AOnePictureFolderShowsItsPictureAgainWithANewFrontEachCycle) {
  std::vector<std::uint32_t> bands;
  for (int band = 0; band < 64; ++band) bands.push_back(Rgb(40 + 3 * band, 200 - 2 * band, 60 + band % 4 * 40));
  pictures_.WriteBytes(L"only.bmp", Bmp(1024, 768, bands));
  SaverSettings settings;
  settings.speed = 24;
  settings.folder = pictures_.path();
  RunningSaver saver(settings);
  ASSERT_NE(saver.window, nullptr);
  const Shown shown = Filling(bands);

  // Each cycle's front, recorded once it stands between a quarter and three quarters up in the
  // middle column, as each column's band relative to the middle one's.
  std::vector<std::vector<int>> fronts;
  bool recorded = false;
  int last = -1;
  const DWORD start = ::GetTickCount();
  while (fronts.size() < 3 && ::GetTickCount() - start < 40000) {
    const ScreenShot row = Capture(0, 1, ScreenWidth(), 1);
    const int middle = BandOf(shown, row.At(ScreenWidth() / 2, 0));
    if (middle < 0) continue;
    if (middle > last + 32) recorded = false;  // a new build-up starts from the bottom
    last = middle;
    if (recorded || middle < 16 || middle > 48) continue;
    std::vector<int> front;
    for (int x = 4; x < ScreenWidth(); x += 8) front.push_back(BandOf(shown, row.At(x, 0)) - middle);
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
