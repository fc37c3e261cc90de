// The running saver, end to end: rubblit.scr started with its switch from a folder of its own,
// driven with real input, its window and the screen checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "wine/testbed/desktop_painter.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const wchar_t kDisplayCaption[] = L"Rubblit(main)";

// "[Section]" with "速さ" set, in Shift_JIS as the saver's own dialog would write it.
std::string IniWithSpeed(int speed) {
  return "[Section]\r\n\x91\xac\x82\xb3=" + std::to_string(speed) + "\r\n";
}

struct RunningSaver {
  TempFolder folder;
  std::wstring program;
  SaverProcess process;
  HWND window;

  RunningSaver(const std::wstring& argumentString, int speed, bool withPasswordPanel = false,
               const char* passwordAnswer = nullptr)
      : program(Prepare(folder, speed, withPasswordPanel, passwordAnswer)),
        process(program, argumentString),
        window(process.WaitForWindow(kDisplayCaption, 15000)) {
    // Let the window settle: it gets its first mouse-move event as soon as it appears.
    ::Sleep(600);
  }

  static std::wstring Prepare(const TempFolder& folder, int speed, bool withPasswordPanel, const char* answer) {
    folder.WriteBytes(L"Rubblit.ini", IniWithSpeed(speed));
    if (withPasswordPanel) {
      ::CopyFileW((BuildFolder() + L"\\password.cpl").c_str(), folder.File(L"password.cpl").c_str(), FALSE);
    }
    if (answer) folder.WriteBytes(L"password-answer.txt", answer);
    return folder.CopySaverHere();
  }

  bool EndsWithin(DWORD milliseconds) const { return process.WaitForExit(milliseconds); }
};

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

void SetScreenSaveActive(BOOL active) { ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active, nullptr, 0); }
BOOL ScreenSaveActive() {
  BOOL active = FALSE;
  ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active;
}

// The older Windows, as Wine emulates it for rubblit.scr while this lives.
class OlderPlatform {
 public:
  OlderPlatform() {
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const wchar_t version[] = L"win98";
    ::RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    ::RegCloseKey(key);
  }
  ~OlderPlatform() { ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\rubblit.scr";
};

}  // namespace

TEST(SaverWindow, CoversTheScreenBorderlessAndTopmost) {
  RunningSaver saver(L"/s", 20);
  ASSERT_NE(saver.window, nullptr);
  RECT rect{};
  ::GetWindowRect(saver.window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, ScreenWidth());
  EXPECT_EQ(rect.bottom, ScreenHeight());
  LONG style = ::GetWindowLongW(saver.window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  EXPECT_NE(::GetWindowLongW(saver.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(::IsWindowVisible(saver.window));
}

TEST(SaverInput, AKeyOrAnyMouseButtonEndsTheSessionAndLeavesTheSaverSettingOn) {
  // Wine keeps the setting in this process once read, so only the first session's end is checked.
  SetScreenSaveActive(FALSE);
  for (int input : {0, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
    RunningSaver saver(L"/s", 20);
    ASSERT_NE(saver.window, nullptr);
    EXPECT_FALSE(saver.EndsWithin(0));
    if (input) {
      Click(input);
    } else {
      PressKey('Q');
    }
    EXPECT_TRUE(saver.EndsWithin(5000)) << "input " << input;
    EXPECT_EQ(saver.process.ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(saver.window));
    if (!input) {
      EXPECT_TRUE(ScreenSaveActive());
    }
  }
}

TEST(SaverInput, OnlyAMoveThatChangesBothCoordinatesEndsTheSession) {
  MoveMouseTo(500, 400);
  RunningSaver saver(L"/s", 20);
  ASSERT_NE(saver.window, nullptr);
  // The move event that comes with the window's appearance only recorded the position.
  EXPECT_FALSE(saver.EndsWithin(0));
  MoveMouseTo(640, 400);
  EXPECT_FALSE(saver.EndsWithin(700)) << "a horizontal move ended it";
  MoveMouseTo(500, 250);
  EXPECT_FALSE(saver.EndsWithin(700)) << "a vertical move ended it";
  MoveMouseTo(620, 330);
  EXPECT_TRUE(saver.EndsWithin(5000)) << "a diagonal move did not end it";
}

TEST(SaverInput, AMoveToWhereThePointerAlreadyIsDoesNotEndItWhenAPictureOfAnotherSizeIsCentred) {
  // A screen-sized red picture, then a small green one in its middle, both shown at their own size.
  TempFolder pictures;
  const int width = ScreenWidth(), height = ScreenHeight();
  pictures.WriteBytes(L"a.bmp", BmpBytes(width, height, 8, [](int, int) { return Rgb(200, 0, 0); }));
  pictures.WriteBytes(L"b.bmp", BmpBytes(width / 2, height / 2, 8, [](int, int) { return Rgb(0, 200, 0); }));
  TempFolder home;
  const std::string folder(pictures.path().begin(), pictures.path().end());  // the temporary path is ASCII
  home.WriteBytes(L"Rubblit.ini", IniWithSpeed(16) + "\x89\xe6\x91\x9c\x82\xcc\xbb\xb2\xbd\xde=0\r\n" +
                                      "\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=" + folder + "\r\n");
  const POINT pointer{width / 2 - 12, height / 2 + 9};  // inside both pictures
  MoveMouseTo(pointer.x, pointer.y);
  SaverProcess saver(home.CopySaverHere(), L"/s");
  const HWND window = saver.WaitForWindow(kDisplayCaption, 15000);
  ASSERT_NE(window, nullptr);

  // The first move event, on the window's appearance, records the pointer over the big picture.
  // The corner turns black once the small one is centred.
  auto corner = [] { return Capture(2, 2, 1, 1).At(0, 0); };
  bool bigSeen = false, smallCentred = false;
  for (DWORD start = ::GetTickCount(); !smallCentred && ::GetTickCount() - start < 20000; ::Sleep(5)) {
    const std::uint32_t colour = corner();
    bigSeen = bigSeen || colour == Rgb(200, 0, 0);
    smallCentred = bigSeen && colour == 0;
  }
  ASSERT_TRUE(smallCentred);

  // The move message a window gets without any real movement, at the pointer's place: it is handled
  // and the session goes on.
  DWORD_PTR result = 0;
  EXPECT_NE(::SendMessageTimeoutW(window, WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x, pointer.y), SMTO_NORMAL, 10000,
                                  &result),
            0);
  EXPECT_FALSE(saver.WaitForExit(0));
  MoveMouseTo(pointer.x + 40, pointer.y + 30);
  EXPECT_TRUE(saver.WaitForExit(5000)) << "a diagonal move did not end it";
}

TEST(SaverInput, WithoutASwitchMovesNeverEndItButAClickDoes) {
  MoveMouseTo(500, 400);
  RunningSaver saver(L"", 20);
  ASSERT_NE(saver.window, nullptr);
  MoveMouseTo(600, 500);
  MoveMouseTo(300, 200);
  EXPECT_FALSE(saver.EndsWithin(800));
  Click(VK_LBUTTON);
  EXPECT_TRUE(saver.EndsWithin(5000));
}

TEST(SaverInput, AOneCharacterSwitchEndsOnADiagonalMove) {
  MoveMouseTo(500, 400);
  RunningSaver saver(L"x", 20);
  ASSERT_NE(saver.window, nullptr);
  MoveMouseTo(600, 500);
  EXPECT_TRUE(saver.EndsWithin(5000));
}

TEST(SaverOlderPlatform, ARejectedPasswordKeepsTheSaverRunningUntilTheNextCheckPasses) {
  OlderPlatform older;
  RunningSaver saver(L"/s", 20, true, "reject");
  ASSERT_NE(saver.window, nullptr);
  PressKey('Q');
  EXPECT_FALSE(saver.EndsWithin(1000));
  EXPECT_EQ(saver.folder.ReadBytes(L"password-calls.txt"), "check\r\n");
  saver.folder.WriteBytes(L"password-answer.txt", "accept");
  PressKey('Q');
  EXPECT_TRUE(saver.EndsWithin(5000));
  EXPECT_EQ(saver.folder.ReadBytes(L"password-calls.txt"), "check\r\ncheck\r\n");
}

TEST(SaverOlderPlatform, WithoutAPasswordPanelAKeyEndsTheSession) {
  OlderPlatform older;
  RunningSaver saver(L"/s", 20);
  ASSERT_NE(saver.window, nullptr);
  PressKey('Q');
  EXPECT_TRUE(saver.EndsWithin(5000));
}

TEST(SaverOlderPlatform, ThePasswordIsNotAskedOnTheNTFamily) {
  RunningSaver saver(L"/s", 20, true, "reject");
  ASSERT_NE(saver.window, nullptr);
  PressKey('Q');
  EXPECT_TRUE(saver.EndsWithin(5000));
  EXPECT_FALSE(saver.folder.Exists(L"password-calls.txt"));
}
