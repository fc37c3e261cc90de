// The picture show, end to end: rubblit.scr started with /s on a folder of pictures made on the
// spot, watched on screenshots. Every picture has two bands, so that two states of it can be told
// apart on the screen: whole (both bands, at the end of its build-up) and drained (its top colour
// everywhere, at the end of its collapse). The order of the whole states is the order of the show.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "forms/handles.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const wchar_t kDisplayCaption[] = L"Rubblit(main)";

struct Settings {
  int speed = 32;
  int imageSize = 1;  // 0 own size, 1 full screen
  int changeOrder = 0;
};

// The settings file as the dialog writes it: Shift_JIS key names, the folder in the ANSI code page.
std::string IniFor(const Settings& settings, const std::wstring& pictureFolder) {
  std::string folder(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, pictureFolder.c_str(), -1, nullptr,
                                                                    0, nullptr, nullptr)),
                     '\0');
  ::WideCharToMultiByte(CP_ACP, 0, pictureFolder.c_str(), -1, folder.data(), static_cast<int>(folder.size()), nullptr,
                        nullptr);
  folder.resize(folder.size() - 1);
  return "[Section]\r\n"
         "\x89\xe6\x91\x9c\xc1\xaa\xdd\xbc\xde=" + std::to_string(settings.changeOrder) + "\r\n" +  // 画像ﾁｪﾝｼﾞ
         "\x89\xe6\x91\x9c\x82\xcc\xbb\xb2\xbd\xde=" + std::to_string(settings.imageSize) + "\r\n" +  // 画像のｻｲｽﾞ
         "\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=" + folder + "\r\n" +                          // 画像のﾌｫﾙﾀﾞ
         "\x91\xac\x82\xb3=" + std::to_string(settings.speed) + "\r\n";                               // 速さ
}

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

// A saver of its own folder, showing the pictures of another.
struct RunningSaver {
  TempFolder home;
  SaverProcess process;
  HWND window;

  RunningSaver(const TempFolder& pictures, const Settings& settings)
      : process(Prepare(home, pictures, settings), L"/s"), window(process.WaitForWindow(kDisplayCaption, 15000)) {}

  static std::wstring Prepare(const TempFolder& home, const TempFolder& pictures, const Settings& settings) {
    home.WriteBytes(L"Rubblit.ini", IniFor(settings, pictures.path()));
    return home.CopySaverHere();
  }
};

// How a picture stands on the screen when it is whole.
struct Shown {
  RECT area;  // on the screen
  int split;  // rows of the top colour, from area.top
  std::uint32_t top, bottom;
};

// Scaled and placed by the display's rules, the top band ends where the picture's does.
Shown Centred(int width, int height, std::uint32_t top, std::uint32_t bottom) {
  int left = (ScreenWidth() - width) / 2, upper = (ScreenHeight() - height) / 2;
  return {{left, upper, left + width, upper + height}, height / 2, top, bottom};
}

bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    // JPEG blurs its colours a little; these pictures' colours lie far apart.
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40) return false;
  }
  return true;
}

enum class Look { Whole, Drained };

struct State {
  Look look;
  int picture;
  bool operator==(const State& other) const { return look == other.look && picture == other.picture; }
};

// Whether the screen shows the picture in this look. The picture is seen at block resolution: a
// block of Speed rows takes one colour, so rows within a block of the band edge or of the
// picture's own top and bottom edges may hold either colour, or what was on the screen before.
bool Shows(const ScreenShot& shot, const Shown& picture, Look look, int margin) {
  const RECT& a = picture.area;
  for (int y = 3; y < shot.height; y += 12) {
    for (int x = 3; x < shot.width; x += 20) {
      bool inside = x >= a.left && x < a.right && y >= a.top && y < a.bottom;
      std::uint32_t expected = 0;
      if (inside) {
        int row = y - a.top;
        if (row < margin || a.bottom - y <= margin || x < a.left + 2 || x >= a.right - 2) continue;
        if (look == Look::Whole && std::abs(row - picture.split) <= margin) continue;
        expected = look == Look::Drained || row < picture.split ? picture.top : picture.bottom;
      }
      if (!Near(shot.At(x, y), expected)) return false;
    }
  }
  return true;
}

bool Classify(const ScreenShot& shot, const std::vector<Shown>& pictures, int margin, State& state) {
  for (int i = 0; i < static_cast<int>(pictures.size()); ++i) {
    for (Look look : {Look::Whole, Look::Drained}) {
      if (Shows(shot, pictures[i], look, margin)) {
        state = {look, i};
        return true;
      }
    }
  }
  return false;
}

struct Watch {
  std::vector<State> states;  // the recognised states in the order seen, each run of one counted once
  std::vector<int> wholes;    // the pictures in the order they stood whole
};

// Watches the screen until wholeCount pictures have stood whole or the time is up. everyShot sees
// every screenshot with the states so far.
Watch WatchShow(const std::vector<Shown>& pictures, int speed, std::size_t wholeCount, DWORD milliseconds,
                const std::function<void(const ScreenShot&, const Watch&)>& everyShot = {}) {
  Watch watch;
  const int margin = speed + 2;
  DWORD start = ::GetTickCount();
  while (watch.wholes.size() < wholeCount && ::GetTickCount() - start < milliseconds) {
    ScreenShot shot = CaptureScreen();
    if (everyShot) everyShot(shot, watch);
    State state{};
    if (!Classify(shot, pictures, margin, state)) continue;
    if (!watch.states.empty() && watch.states.back() == state) continue;
    watch.states.push_back(state);
    if (state.look == Look::Whole) watch.wholes.push_back(state.picture);
  }
  return watch;
}

std::string Describe(const std::vector<int>& wholes) {
  std::string text;
  for (int picture : wholes) text += std::to_string(picture + 1) + " ";
  return text;
}

const std::uint32_t kRed = Rgb(220, 30, 30), kGreen = Rgb(30, 200, 40), kBlue = Rgb(30, 40, 220);
const std::uint32_t kYellow = Rgb(230, 220, 40), kCyan = Rgb(40, 210, 220), kMagenta = Rgb(210, 40, 200);
const std::uint32_t kWhite = Rgb(240, 240, 240), kOrange = Rgb(240, 140, 20), kGrey = Rgb(120, 120, 120);

std::string Bmp(int width, int height, std::uint32_t top, std::uint32_t bottom) {
  return BmpBytes(width, height, 24, TwoBands(top, bottom, height));
}

Shown Filling(std::uint32_t top, std::uint32_t bottom) { return Centred(ScreenWidth(), ScreenHeight(), top, bottom); }

// CPU time the process's threads have used, in milliseconds; negative when it cannot be read.
// Summed thread by thread: Wine's GetProcessTimes reports nothing for another process.
double CpuMilliseconds(DWORD processId) {
  auto ticks = [](const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  forms::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return -1;
  std::uint64_t total = 0;
  int threads = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    forms::KernelHandle thread(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
    FILETIME created, exited, kernel, user;
    if (!thread || !::GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) return -1;
    total += ticks(kernel) + ticks(user);
    ++threads;
  }
  return threads > 0 ? static_cast<double>(total) / 10000.0 : -1;
}

}  // namespace

TEST(PictureShow, SequentialOrderShowsEachPictureInTurnOverTheStreaksOfTheLast) {
  TempFolder pictures;
  // Three kinds of file, named in the order of the list.
  pictures.WriteBytes(L"1.bmp", Bmp(640, 480, kRed, kGreen));
  pictures.WriteBytes(L"2.gif", GifBytes(640, 480, TwoBands(kBlue, kYellow, 480)));
  std::string jpeg = JpegBytes(640, 480, TwoBands(kCyan, kMagenta, 480));
  ASSERT_FALSE(jpeg.empty());
  pictures.WriteBytes(L"3.jpg", jpeg);
  Settings settings;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);

  std::vector<Shown> shown = {Filling(kRed, kGreen), Filling(kBlue, kYellow), Filling(kCyan, kMagenta)};
  int blackAfterFirst = 0;
  Watch watch = WatchShow(shown, settings.speed, 6, 30000, [&](const ScreenShot& shot, const Watch& so) {
    if (so.wholes.empty()) return;
    // Each picture covers the screen, and Display is not cleared between pictures: the next one
    // is built up over the streaks of the last, never over black. Only the rows under the lowest
    // block of a column may keep the black the first picture was built on.
    for (int y = 2; y < shot.height - settings.speed; y += 16) {
      for (int x = 2; x < shot.width; x += 16) blackAfterFirst += shot.At(x, y) == 0;
    }
  });
  EXPECT_EQ(watch.wholes, (std::vector<int>{0, 1, 2, 0, 1, 2})) << Describe(watch.wholes);
  EXPECT_EQ(blackAfterFirst, 0);
}

TEST(PictureShow, RandomOrderShowsEveryPictureOncePerPass) {
  TempFolder pictures;
  pictures.WriteBytes(L"a.bmp", Bmp(640, 480, kRed, kGreen));
  pictures.WriteBytes(L"b.bmp", Bmp(640, 480, kBlue, kYellow));
  pictures.WriteBytes(L"c.bmp", Bmp(640, 480, kCyan, kMagenta));
  Settings settings;
  settings.changeOrder = 1;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);

  std::vector<Shown> shown = {Filling(kRed, kGreen), Filling(kBlue, kYellow), Filling(kCyan, kMagenta)};
  // The same picture may end one pass and start the next: it is then seen whole, drained, and
  // whole again.
  Watch watch = WatchShow(shown, settings.speed, 9, 40000);
  ASSERT_EQ(watch.wholes.size(), 9u) << Describe(watch.wholes);
  for (std::size_t pass = 0; pass < 3; ++pass) {
    std::vector<int> order(watch.wholes.begin() + pass * 3, watch.wholes.begin() + pass * 3 + 3);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2})) << "pass " << pass + 1 << ": " << Describe(watch.wholes);
  }
}

TEST(PictureShow, FullScreenScalesTheLongerSideToTheScreenAndCentres) {
  if (ScreenWidth() != 1024 || ScreenHeight() != 768) GTEST_SKIP() << "sizes worked out for a 1024 x 768 screen";
  TempFolder pictures;
  pictures.WriteBytes(L"1.bmp", Bmp(640, 480, kRed, kGreen));
  pictures.WriteBytes(L"2.bmp", Bmp(400, 600, kBlue, kYellow));
  pictures.WriteBytes(L"3.bmp", Bmp(2048, 512, kCyan, kMagenta));
  Settings settings;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);

  // Whole, each stands in its area with the form's black all around, wherever the last one stood.
  std::vector<Shown> shown = {Centred(1024, 768, kRed, kGreen), Centred(512, 768, kBlue, kYellow),
                              Centred(1024, 256, kCyan, kMagenta)};
  Watch watch = WatchShow(shown, settings.speed, 4, 20000);
  EXPECT_EQ(watch.wholes, (std::vector<int>{0, 1, 2, 0})) << Describe(watch.wholes);
}

TEST(PictureShow, OwnSizeCentresASmallPictureAndShowsTheMiddleOfALargeOne) {
  if (ScreenWidth() != 1024 || ScreenHeight() != 768) GTEST_SKIP() << "sizes worked out for a 1024 x 768 screen";
  TempFolder pictures;
  pictures.WriteBytes(L"1.bmp", Bmp(300, 200, kRed, kGreen));
  // Its middle 1024 x 768, from (288, 216), in two bands; a frame of another colour around it.
  pictures.WriteBytes(L"2.bmp", BmpBytes(1600, 1200, 24, [](int x, int y) {
                        if (x < 288 || x >= 288 + 1024 || y < 216 || y >= 216 + 768) return kGrey;
                        return y < 216 + 384 ? kWhite : kOrange;
                      }));
  Settings settings;
  // A picture of 200 rows stands whole for only 200 / Speed passes.
  settings.speed = 12;
  settings.imageSize = 0;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);

  std::vector<Shown> shown = {Centred(300, 200, kRed, kGreen), Centred(1024, 768, kWhite, kOrange)};
  Watch watch = WatchShow(shown, settings.speed, 3, 25000);
  EXPECT_EQ(watch.wholes, (std::vector<int>{0, 1, 0})) << Describe(watch.wholes);
}

TEST(PictureShow, BadFilesAndAFileDeletedAfterTheScanRepeatThePictureBeforeThem) {
  TempFolder pictures;
  std::string jpeg = JpegBytes(64, 48, TwoBands(kRed, kGreen, 48));
  ASSERT_FALSE(jpeg.empty());
  // Listed first: nothing has been shown yet when they fail.
  pictures.WriteBytes(L"1-empty.bmp", "");
  pictures.WriteBytes(L"2-cut.jpg", Truncated(jpeg, 100));
  pictures.WriteBytes(L"3-damaged.gif", Flipped(GifBytes(64, 48, TwoBands(kRed, kGreen, 48)), 0, 3));
  pictures.WriteBytes(L"4-text.jpg", "This is not a picture, only some text.\r\n");
  pictures.WriteBytes(L"5-huge.bmp", BmpClaimingSize(30000, 30000));
  pictures.WriteBytes(L"6-good.bmp", Bmp(640, 480, kRed, kGreen));
  pictures.WriteBytes(L"7-gone.bmp", Bmp(640, 480, kCyan, kMagenta));
  pictures.WriteBytes(L"8-good.gif", GifBytes(640, 480, TwoBands(kBlue, kYellow, 480)));
  Settings settings;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);
  // The window shows once the first picture is ready; the others are loaded cycles later.
  ASSERT_TRUE(::DeleteFileW(pictures.File(L"7-gone.bmp").c_str()));

  std::vector<Shown> shown = {Filling(kRed, kGreen), Filling(kBlue, kYellow), Filling(kCyan, kMagenta)};
  // After the good ones the first bad file of the next pass shows the last good one again.
  Watch watch = WatchShow(shown, settings.speed, 4, 30000);
  EXPECT_EQ(watch.wholes, (std::vector<int>{0, 0, 1, 1})) << Describe(watch.wholes);
  EXPECT_FALSE(saver.process.WaitForExit(0));
}

TEST(PictureShow, WhenEveryFileFailsTheSaverIdlesOnBlackAndStillEndsOnAKey) {
  TempFolder pictures;
  pictures.WriteBytes(L"empty.bmp", "");
  pictures.WriteBytes(L"text.jpg", "This is not a picture, only some text.\r\n");
  pictures.WriteBytes(L"huge.bmp", BmpClaimingSize(30000, 30000));
  Settings settings;
  RunningSaver saver(pictures, settings);
  ASSERT_NE(saver.window, nullptr);
  ::Sleep(500);
  const double cpuBefore = CpuMilliseconds(saver.process.id());
  const DWORD start = ::GetTickCount();
  ::Sleep(3000);
  const double cpu = CpuMilliseconds(saver.process.id()) - cpuBefore;
  const DWORD elapsed = ::GetTickCount() - start;
  ASSERT_GE(cpuBefore, 0);
  // Three failed loads per pass through the list, and two paced frames per picture.
  EXPECT_LT(cpu, elapsed * 0.25) << cpu << " ms of CPU in " << elapsed << " ms";
  EXPECT_FALSE(saver.process.WaitForExit(0));

  ScreenShot shot = CaptureScreen();
  int lit = 0;
  for (int y = 0; y < shot.height; y += 8) {
    for (int x = 0; x < shot.width; x += 8) lit += shot.At(x, y) != 0;
  }
  EXPECT_EQ(lit, 0) << "with nothing to show the screen is the form's black";

  PressKey('Q');
  EXPECT_TRUE(saver.process.WaitForExit(5000));
}
