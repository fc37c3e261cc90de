// Quick checks that the built program starts and dispatches its modes; the 64-bit build runs
// only these.
#include <gtest/gtest.h>

#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/temp_folder.h"

namespace {

constexpr DWORD kAtOnce = 15000;

TEST(Smoke, AnUnrecognisedSwitchEndsAtOnce) {
  testbed::TempFolder folder;
  testbed::SaverProcess process(folder.CopySaverHere(), L"/x");
  ASSERT_TRUE(process.started());
  EXPECT_TRUE(process.WaitForExit(kAtOnce));
  EXPECT_EQ(process.ExitCode(), 0u);
}

TEST(Smoke, ThePreviewEmbedsInTheHostAndEndsWithIt) {
  testbed::TempFolder folder;
  testbed::HostWindow pane(L"pane", 20, 20, 160, 120);
  testbed::SaverProcess process(folder.CopySaverHere(), L"/p " + pane.HandleText());
  HWND preview = nullptr;
  testbed::PumpUntil(
      [&] {
        preview = testbed::FindChildOfProcess(pane.get(), process.id(), L"Preview Window");
        return (preview != nullptr && ::IsWindowVisible(preview)) || process.WaitForExit(0);
      },
      kAtOnce);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(::GetAncestor(preview, GA_PARENT), pane.get());
  pane.Destroy();
  EXPECT_TRUE(process.WaitForExit(kAtOnce));
  EXPECT_EQ(process.ExitCode(), 0u);
}

TEST(Smoke, TheSaverShowsItsPictureAndAKeyEndsIt) {
  testbed::ClearSaverLeftovers();
  testbed::TempFolder pictures;
  pictures.WriteBytes(L"one.bmp", testbed::BmpBytes(8, 8, 24, [](int, int) { return 0x3366CCu; }));
  testbed::SaverSettings settings;
  settings.folder = pictures.path();
  testbed::RunningSaver saver(settings);
  ASSERT_TRUE(saver.WaitUntilShowing({0x3366CCu}));
  testbed::PressKey('Q');
  EXPECT_TRUE(saver.EndsWithin(kAtOnce));
  EXPECT_EQ(saver.process.ExitCode(), 0u);
}

}  // namespace
