// The preview form embedded in a host window of this process, as the program embeds it in the
// host's pane: the pixels it shows there. The start-up tests see the running saver's preview
// embed and end with its pane; under Wine another process's child shows nothing on the screen.
#include "preview/preview_form.h"
#include "preview/preview_embedding.h"

#include <gtest/gtest.h>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

// The picture, a resource of the program read here from the built rubblit.scr, at its natural size
// in the pane's top left corner and black around it: the form fills the pane, placed in the pane's
// own coordinates.
TEST(PreviewForm, ShowsThePictureAtNaturalSizeOnBlackInALargerPane) {
  constexpr int kPictureWidth = 152, kPictureHeight = 112;
  forms::Library program((testbed::BuildFolder() + L"\\rubblit.scr").c_str(), LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(program);
  forms::ComApartment com;
  testbed::HostWindow host(L"host", 40, 40, 300, 200);
  PreviewForm form(program.get());
  ASSERT_TRUE(EmbedPreview(form, host.HandleText()));
  int dark = 0, lit = 0;
  EXPECT_TRUE(testbed::PumpUntil(
      [&] {
        const testbed::ScreenShot shot = testbed::Capture(40, 40, 300, 200);
        dark = lit = 0;
        for (int y = 0; y < shot.height; ++y) {
          for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t pixel = shot.At(x, y);
            const int brightness = (pixel >> 16) + (pixel >> 8 & 0xFF) + (pixel & 0xFF);
            if (x < kPictureWidth && y < kPictureHeight) dark += brightness < 40;
            if (x >= kPictureWidth || y >= kPictureHeight) lit += pixel != 0;
          }
        }
        return dark == 0 && lit == 0;
      },
      20000))
      << dark << " dark pixels in the picture, " << lit << " lit around it";
  // Sky at the top: not upside down.
  const std::uint32_t sky = testbed::Capture(42, 42, 1, 1).At(0, 0);
  EXPECT_GT(sky & 0xFF, sky >> 16);
}
