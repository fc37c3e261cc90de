// The preview form embedded in a host window of this process, as the program embeds it in the
// host's pane: structure, placement and the pixels that show.
#include "startup/preview_embedding.h"
#include "startup/preview_form.h"

#include <gtest/gtest.h>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

namespace {

constexpr int kPictureWidth = 152;
constexpr int kPictureHeight = 112;

bool IsBlack(std::uint32_t pixel) { return pixel == 0; }
int Brightness(std::uint32_t pixel) { return (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF); }

class PreviewFormTest : public ::testing::Test {
 protected:
  // The picture is a resource of the program, read here from the built rubblit.scr.
  forms::Library program_{(testbed::BuildFolder() + L"\\rubblit.scr").c_str(), LOAD_LIBRARY_AS_DATAFILE};
  forms::ComApartment com_;

  // Dispatches what is pending; true when the form posted its WM_QUIT meanwhile.
  static bool Pending() {
    bool quit = false;
    testbed::PumpUntil([] { return true; }, 0, &quit);
    return quit;
  }
  // Waits until the form is visible and its picture, not black, is on the screen at (x, y).
  static bool Drawn(const PreviewForm& form, int x, int y) {
    return testbed::PumpUntil(
        [&] {
          return ::IsWindowVisible(form.handle()) && Brightness(testbed::Capture(x, y, 1, 1).At(0, 0)) >= 40;
        },
        20000);
  }
};

TEST_F(PreviewFormTest, ShowsThePictureAtNaturalSizeOnBlackInALargerPane) {
  ASSERT_TRUE(program_);
  testbed::HostWindow host(L"host", 40, 40, 300, 200);
  PreviewForm form(program_.get());
  ASSERT_TRUE(EmbedPreview(form, host.HandleText()));
  ASSERT_TRUE(Drawn(form, 40 + kPictureWidth - 2, 40 + kPictureHeight - 2));

  HWND window = form.handle();
  LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetParent(window), host.get());
  RECT hostRect{}, formRect{};
  ::GetWindowRect(host.get(), &hostRect);
  ::GetWindowRect(window, &formRect);
  EXPECT_TRUE(::EqualRect(&hostRect, &formRect));
  wchar_t caption[64] = {};
  ::GetWindowTextW(window, caption, 64);
  EXPECT_STREQ(caption, L"Preview Window");

  testbed::ScreenShot shot = testbed::Capture(40, 40, 300, 200);
  ASSERT_EQ(shot.width, 300);
  int blackInPicture = 0, litOutside = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      bool inside = x < kPictureWidth && y < kPictureHeight;
      if (inside && Brightness(shot.At(x, y)) < 40) ++blackInPicture;
      if (!inside && !IsBlack(shot.At(x, y))) ++litOutside;
    }
  }
  EXPECT_EQ(blackInPicture, 0);
  EXPECT_EQ(litOutside, 0);
  // Sky at the top, not stretched: the picture's corners sit at 152 x 112.
  std::uint32_t sky = shot.At(2, 2);
  EXPECT_GT(sky & 0xFF, sky >> 16 & 0xFF);
  EXPECT_FALSE(IsBlack(shot.At(kPictureWidth - 1, kPictureHeight - 1)));
  EXPECT_TRUE(IsBlack(shot.At(kPictureWidth, 0)));
  EXPECT_TRUE(IsBlack(shot.At(0, kPictureHeight)));
}

TEST_F(PreviewFormTest, TheFormGoesWithTheHostAndEndsTheMessageLoop) {
  testbed::HostWindow host(L"host", 40, 40, 200, 150);
  PreviewForm form(program_.get());
  ASSERT_TRUE(EmbedPreview(form, host.HandleText()));
  EXPECT_FALSE(Pending());
  host.Destroy();
  EXPECT_EQ(form.handle(), nullptr);
  EXPECT_TRUE(Pending());
}

TEST_F(PreviewFormTest, WithoutAHostTheEmptyFormStaysUntilUnloaded) {
  for (const wchar_t* field : {L"", L"abc", L"0", L"99999999", L"99999999999999"}) {
    PreviewForm form(program_.get());
    ASSERT_TRUE(EmbedPreview(form, field)) << field;
    RECT formRect{};
    ::GetWindowRect(form.handle(), &formRect);
    EXPECT_TRUE(::IsRectEmpty(&formRect)) << field;
    EXPECT_FALSE(Pending()) << field;
    ASSERT_NE(form.handle(), nullptr) << field;
    ::PostMessageW(form.handle(), WM_CLOSE, 0, 0);
    bool quit = false;
    EXPECT_TRUE(testbed::PumpUntil([&] { return quit; }, 20000, &quit)) << field;
    EXPECT_EQ(form.handle(), nullptr) << field;
  }
}

}  // namespace
