// The running saver, end to end: rubblit.scr started with its switch from a folder of its own,
// driven with real input once it shows its picture, its window, the cursor and the screen checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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

bool CursorShowing() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return ::GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
}

// The stand-in password panel beside the saver, rejecting until told otherwise.
void RejectingPasswordPanel(const TempFolder& home) {
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\password.cpl").c_str(), home.File(L"password.cpl").c_str(), FALSE));
  home.WriteBytes(L"password-answer.txt", "reject");
}

class SaverSession : public SaverTest {
 protected:
  // Starts the saver on a picture of two bands, 400 x 300 at its own size or filling the screen,
  // and waits until it shows it.
  std::unique_ptr<RunningSaver> Start(const std::wstring& arguments, int imageSize = 1,
                                      const std::function<void(const TempFolder&)>& prepare = {}) {
    auto saver = std::make_unique<RunningSaver>(SaverSettings{20, imageSize, 0, pictures_.path()}, arguments, prepare);
    EXPECT_TRUE(saver->WaitUntilShowing({kTop, kBottom})) << "arguments \"" << arguments << "\"";
    return saver;
  }

  void SetUp() override {
    SaverTest::SetUp();
    pictures_.WriteBytes(L"picture.bmp", BmpBytes(400, 300, 24, TwoBands(kTop, kBottom, 300)));
  }

  TempFolder pictures_;
};

// Keys and buttons all reach one handler; Alt comes as a system key, apart from the others.
TEST_F(SaverSession, TheSaverCoversTheScreenTopmostWithoutCursorAndAltEndsItWithoutAPasswordOnTheNTFamily) {
  ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
  // A size other than 0 and 1 fills the screen as 1 does: the picture reaches the corner.
  auto saver = Start(L"/s", 2, RejectingPasswordPanel);
  EXPECT_TRUE(PumpUntil([] { return Capture(1, 1, 1, 1).At(0, 0) == kTop; }, 20000));
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  RECT rect{}, screen{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  ASSERT_TRUE(::GetWindowRect(saver->window, &rect));
  EXPECT_TRUE(::EqualRect(&rect, &screen));
  EXPECT_EQ(::GetWindowLongW(saver->window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  EXPECT_NE(::GetWindowLongW(saver->window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_FALSE(CursorShowing());
  PressKey(VK_MENU);
  EXPECT_TRUE(saver->EndsWithin(20000));
  EXPECT_EQ(saver->process.ExitCode(), 0u);
  EXPECT_FALSE(saver->folder.Exists(L"password-calls.txt"));
  // Wine keeps the setting in this process once read: read once, after the session.
  BOOL active = FALSE;
  ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);
}

// The first move, on the window's appearance, records the pointer over a screen-sized picture; the
// small one that follows stands centred, and the recorded point must move with it. The move message
// a window gets without any real movement, at the pointer's place, is handled and the session goes
// on.
TEST_F(SaverSession, AMoveToWhereThePointerAlreadyIsDoesNotEndItWhenAPictureOfAnotherSizeIsCentred) {
  pictures_.WriteBytes(L"a.bmp", BmpBytes(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), 8,
                                          [](int, int) { return Rgb(0, 200, 0); }));
  // Inside both pictures: the small one stands from (312, 234) to (712, 534).
  MoveMouseTo(500, 400);
  RunningSaver saver({4, 0, 0, pictures_.path()});
  const auto moveHandled = [&saver] {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(saver.window, WM_MOUSEMOVE, 0, MAKELPARAM(500, 400), SMTO_NORMAL, 10000, &result);
  };
  // Recorded during the first picture, if the appearance's move was not.
  ASSERT_TRUE(saver.WaitUntilShowing({Rgb(0, 200, 0)}, 40000));
  ASSERT_NE(moveHandled(), 0);
  ASSERT_TRUE(saver.WaitUntilShowing({kTop, kBottom}, 40000));
  EXPECT_NE(moveHandled(), 0);
  // Nothing of the larger picture stays beside the smaller one.
  EXPECT_TRUE(PumpUntil(
      [] {
        const std::vector<std::uint32_t> screen = CaptureScreen().pixels;
        return std::count(screen.begin(), screen.end(), Rgb(0, 200, 0)) == 0;
      },
      20000));
  EXPECT_TRUE(saver.HandlesInputAndGoesOn());
  MoveMouseTo(540, 430);
  EXPECT_TRUE(saver.EndsWithin(20000)) << "a diagonal move did not end it";
}

TEST_F(SaverSession, MovesOverTheBlackBorderAroundAnOwnSizePictureNeverEndItButAClickThereDoes) {
  MoveMouseTo(20, 20);
  auto saver = Start(L"/s", 0);
  // Left of and above the picture.
  MoveMouseTo(100, 120);
  MoveMouseTo(200, 60);
  EXPECT_TRUE(saver->HandlesInputAndGoesOn()) << "a move over the border ended it";
  Click(VK_LBUTTON);
  EXPECT_TRUE(saver->EndsWithin(20000));
}

TEST_F(SaverSession, WithoutASwitchTheCursorShowsAndMovesNeverEndItButAClickDoes) {
  MoveMouseTo(500, 400);
  auto saver = Start(L"");
  EXPECT_TRUE(CursorShowing());
  MoveMouseTo(600, 500);
  MoveMouseTo(300, 200);
  EXPECT_TRUE(saver->HandlesInputAndGoesOn());
  Click(VK_LBUTTON);
  EXPECT_TRUE(saver->EndsWithin(20000));
}

// A refused password after a diagonal move: the cursor hides again and the next move only records
// where the pointer is. The first move, on the window's appearance, records (500, 400).
TEST_F(SaverSession, OnTheOlderPlatformARejectedPasswordKeepsTheSaverRunningUntilTheNextCheckPasses) {
  OlderPlatform older;
  MoveMouseTo(500, 400);
  auto saver = Start(L"/s", 1, RejectingPasswordPanel);
  const auto calls = [&saver] { return saver->folder.ReadBytes(L"password-calls.txt"); };
  MoveMouseTo(600, 500);
  EXPECT_TRUE(PumpUntil([&] { return calls() == "check\r\n"; }, 20000));
  // Only y changes from (600, 500), which a move message without real movement may have recorded.
  MoveMouseTo(600, 550);
  EXPECT_TRUE(saver->HandlesInputAndGoesOn());
  EXPECT_FALSE(CursorShowing());
  EXPECT_EQ(calls(), "check\r\n");
  saver->folder.WriteBytes(L"password-answer.txt", "accept");
  MoveMouseTo(700, 650);
  EXPECT_TRUE(saver->EndsWithin(20000));
  EXPECT_EQ(calls(), "check\r\ncheck\r\n");
}

TEST_F(SaverSession, OnTheOlderPlatformWithoutAPasswordPanelAKeyEndsTheSession) {
  OlderPlatform older;
  auto saver = Start(L"/s");
  PressKey('Q');
  EXPECT_TRUE(saver->EndsWithin(20000));
}

// No other program may take the keyboard behind the saver, and no change of the monitors may leave
// one uncovered: either ends the session.
TEST_F(SaverSession, AnotherProgramsWindowActivatedOverItOrAChangeOfTheMonitorsEndsIt) {
  for (const bool activate : {true, false}) {
    auto saver = Start(L"/s");
    HostWindow other(L"other program", 100, 100, 200, 150, false);
    if (activate) {
      ::ShowWindow(other.get(), SW_SHOW);
      ::SetForegroundWindow(other.get());
    } else {
      ::PostMessageW(saver->window, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    }
    EXPECT_TRUE(saver->EndsWithin(20000)) << (activate ? "activated" : "display change");
  }
}

}  // namespace
