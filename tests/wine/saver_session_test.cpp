// The running saver, end to end: rubblit.scr started with its switch from a folder of its own,
// driven with real input once it shows its picture, its window, the cursor and the screen checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const std::uint32_t kTop = Rgb(220, 30, 40), kBottom = Rgb(20, 60, 200);

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

BOOL ScreenSaveActive() {
  BOOL active = FALSE;
  ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active;
}

bool CursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return ::GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

class SaverSession : public SaverTest {
 protected:
  // Starts the saver on a picture of two bands, 400 x 300 at its own size or filling the screen,
  // and waits until it shows it.
  std::unique_ptr<RunningSaver> Start(const std::wstring& arguments, int imageSize = 1,
                                      const std::function<void(const TempFolder&)>& prepare = {}) {
    SaverSettings settings;
    settings.imageSize = imageSize;
    settings.folder = pictures_.path();
    auto saver = std::make_unique<RunningSaver>(settings, arguments, prepare);
    EXPECT_TRUE(saver->WaitUntilShowing({kTop, kBottom})) << "arguments \"" << arguments << "\"";
    return saver;
  }

  void SetUp() override {
    SaverTest::SetUp();
    pictures_.WriteBytes(L"picture.bmp", BmpBytes(400, 300, 24, TwoBands(kTop, kBottom, 300)));
  }

  TempFolder pictures_;
};

TEST_F(SaverSession, TheSaverCoversTheScreenTopmostWithoutCursorAndAnyKeyOrButtonEndsIt) {
  // Wine keeps the setting in this process once read, so only the first session's end is checked.
  ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
  for (int input : {int{'Q'}, VK_MENU, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
    SCOPED_TRACE(input);
    auto saver = Start(L"/s");
    ASSERT_NE(saver->window, nullptr);
    RECT rect{};
    ::GetWindowRect(saver->window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, ScreenWidth());
    EXPECT_EQ(rect.bottom, ScreenHeight());
    EXPECT_EQ(::GetWindowLongW(saver->window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_NE(::GetWindowLongW(saver->window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(CursorShowing());
    if (input == VK_LBUTTON || input == VK_RBUTTON || input == VK_MBUTTON) {
      Click(input);
    } else {
      PressKey(static_cast<WORD>(input));
    }
    EXPECT_TRUE(saver->EndsWithin(20000));
    EXPECT_EQ(saver->process.ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(saver->window));
    if (input == 'Q') {
      EXPECT_TRUE(ScreenSaveActive());
    }
  }
}

TEST_F(SaverSession, OnlyAMoveThatChangesBothCoordinatesEndsTheSession) {
  for (const wchar_t* arguments : {L"/s", L"x"}) {
    SCOPED_TRACE(arguments);
    MoveMouseTo(500, 400);
    auto saver = Start(arguments);
    // The move event that comes with the window's appearance only recorded the position.
    MoveMouseTo(640, 400);
    EXPECT_FALSE(saver->EndsWithin(700)) << "a horizontal move ended it";
    MoveMouseTo(500, 250);
    EXPECT_FALSE(saver->EndsWithin(700)) << "a vertical move ended it";
    MoveMouseTo(620, 330);
    EXPECT_TRUE(saver->EndsWithin(20000)) << "a diagonal move did not end it";
  }
}

TEST_F(SaverSession, AMoveToWhereThePointerAlreadyIsDoesNotEndItWhenAPictureOfAnotherSizeIsCentred) {
  // A screen-sized red picture, then a small green one in its middle, both shown at their own size.
  TempFolder pictures;
  const int width = ScreenWidth(), height = ScreenHeight();
  pictures.WriteBytes(L"a.bmp", BmpBytes(width, height, 8, [](int, int) { return Rgb(200, 0, 0); }));
  pictures.WriteBytes(L"b.bmp", BmpBytes(width / 2, height / 2, 8, [](int, int) { return Rgb(0, 200, 0); }));
  const POINT pointer{width / 2 - 12, height / 2 + 9};  // inside both pictures
  MoveMouseTo(pointer.x, pointer.y);
  RunningSaver saver({16, 0, 0, pictures.path()});
  ASSERT_NE(saver.window, nullptr);

  // The first move event, on the window's appearance, records the pointer over the big picture.
  // The corner turns black once the small one is centred.
  bool bigSeen = false;
  ASSERT_TRUE(PumpUntil(
      [&] {
        const std::uint32_t corner = Capture(2, 2, 1, 1).At(0, 0);
        bigSeen = bigSeen || corner == Rgb(200, 0, 0);
        return bigSeen && corner == 0;
      },
      20000));

  // The move message a window gets without any real movement, at the pointer's place: it is handled
  // and the session goes on.
  DWORD_PTR result = 0;
  EXPECT_NE(::SendMessageTimeoutW(saver.window, WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x, pointer.y), SMTO_NORMAL,
                                  10000, &result),
            0);
  EXPECT_FALSE(saver.EndsWithin(0));
  MoveMouseTo(pointer.x + 40, pointer.y + 30);
  EXPECT_TRUE(saver.EndsWithin(20000)) << "a diagonal move did not end it";
}

TEST_F(SaverSession, WithoutASwitchTheCursorShowsAndMovesNeverEndItButAClickDoes) {
  MoveMouseTo(500, 400);
  auto saver = Start(L"");
  EXPECT_TRUE(CursorShowing());
  MoveMouseTo(600, 500);
  MoveMouseTo(300, 200);
  EXPECT_FALSE(saver->EndsWithin(800));
  Click(VK_LBUTTON);
  EXPECT_TRUE(saver->EndsWithin(20000));
}

TEST_F(SaverSession, MovesOverTheBlackBorderAroundAnOwnSizePictureNeverEndItButAClickThereDoes) {
  MoveMouseTo(20, 20);
  auto saver = Start(L"/s", 0);
  // The picture stands from (312, 234) to (712, 534); these moves stay left of and above it.
  MoveMouseTo(100, 120);
  MoveMouseTo(200, 60);
  MoveMouseTo(40, 700);
  EXPECT_FALSE(saver->EndsWithin(800)) << "a move over the border ended it";
  Click(VK_LBUTTON);
  EXPECT_TRUE(saver->EndsWithin(20000));
}

TEST_F(SaverSession, OnTheOlderPlatformARejectedPasswordKeepsTheSaverRunningUntilTheNextCheckPasses) {
  OlderPlatform older;
  auto saver = Start(L"/s", 1, [](const TempFolder& home) {
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\password.cpl").c_str(), home.File(L"password.cpl").c_str(), FALSE));
    home.WriteBytes(L"password-answer.txt", "reject");
  });
  PressKey('Q');
  EXPECT_TRUE(PumpUntil([&] { return saver->folder.ReadBytes(L"password-calls.txt") == "check\r\n"; }, 20000));
  EXPECT_FALSE(saver->EndsWithin(0));
  saver->folder.WriteBytes(L"password-answer.txt", "accept");
  PressKey('Q');
  EXPECT_TRUE(saver->EndsWithin(20000));
  EXPECT_EQ(saver->folder.ReadBytes(L"password-calls.txt"), "check\r\ncheck\r\n");
}

TEST_F(SaverSession, OnTheOlderPlatformWithoutAPasswordPanelAKeyEndsTheSession) {
  OlderPlatform older;
  auto saver = Start(L"/s");
  PressKey('Q');
  EXPECT_TRUE(saver->EndsWithin(20000));
}

TEST_F(SaverSession, ThePasswordIsNotAskedOnTheNTFamily) {
  auto saver = Start(L"/s", 1, [](const TempFolder& home) {
    ::CopyFileW((BuildFolder() + L"\\password.cpl").c_str(), home.File(L"password.cpl").c_str(), FALSE);
    home.WriteBytes(L"password-answer.txt", "reject");
  });
  PressKey('Q');
  EXPECT_TRUE(saver->EndsWithin(20000));
  EXPECT_FALSE(saver->folder.Exists(L"password-calls.txt"));
}

}  // namespace
