// The settings dialog (rubblit.scr /c) as a user meets it: what it shows for a settings file, and
// what the mouse does to it and to the file. Every check runs with the ANSI code page 932 and
// again with 1252.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

using testbed::Pixels;
using testbed::SettingsDialog;

// Generous: a busy machine and a starting Wine desktop delay a process by seconds. A closing
// window also waits 2 s for a window manager that Xvfb does not have.
constexpr DWORD kDeadline = 20000;

using testbed::At;
using testbed::DialogPanels;
using testbed::SettingsLines;

// Elements, in their panel's pixels at 96 dpi.
constexpr At kSequentialOption{24, 40, 13, 13}, kRandomOption{108, 40, 13, 13};
constexpr At kOwnSizeOption{24, 100, 13, 13}, kFullScreenOption{108, 100, 13, 13};
constexpr At kOwnSizeCaption{40, 100, 42, 13};
constexpr At kSpeedValue{56, 180, 53, 13};
constexpr At kKindBox[4] = {{208, 188, 12, 12}, {208, 208, 12, 12}, {208, 228, 12, 12}, {208, 248, 12, 12}};
constexpr At kClearButton{196, 272, 97, 17};
// The rows of the button faces above their captions.
constexpr At kSaveFaceTop{340, 316, 95, 4}, kCancelFaceTop{440, 316, 95, 4}, kFaceTop{0, 0, 95, 4};
constexpr At kSaveButton{340, 320, 93, 17}, kCancelButton{440, 320, 93, 17};
constexpr At kLink{196, 356, 214, 13};

RECT OnScreen(HWND panel, const At& at) { return SettingsDialog::OnScreen(panel, at); }
using testbed::Crop;

// Sets an environment variable for the processes this one starts, and puts it back.
class EnvironmentScope {
 public:
  EnvironmentScope(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[256] = {};
    DWORD length = ::GetEnvironmentVariableW(name, old, 256);
    had_ = length > 0 && length < 256;
    if (had_) old_ = old;
    ::SetEnvironmentVariableW(name, value);
  }
  ~EnvironmentScope() { ::SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }

 private:
  std::wstring name_;
  std::wstring old_;
  bool had_ = false;
};

// A registry value of the prefix, set for one test and put back however it ends.
class RegistryValueScope {
 public:
  RegistryValueScope(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                     DWORD size)
      : name_(name) {
    ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    oldSize_ = sizeof old_;
    had_ = key_ && ::RegQueryValueExW(key_, name_, nullptr, &oldType_, old_, &oldSize_) == ERROR_SUCCESS;
    if (key_) ::RegSetValueExW(key_, name_, 0, type, static_cast<const BYTE*>(data), size);
  }
  RegistryValueScope(const RegistryValueScope&) = delete;
  RegistryValueScope& operator=(const RegistryValueScope&) = delete;
  ~RegistryValueScope() {
    if (!key_) return;
    if (had_) {
      ::RegSetValueExW(key_, name_, 0, oldType_, old_, oldSize_);
    } else {
      ::RegDeleteValueW(key_, name_);
    }
    ::RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  const wchar_t* name_;
  bool had_ = false;
  DWORD oldType_ = 0;
  BYTE old_[1024] = {};
  DWORD oldSize_ = 0;
};

// The prefix's handler of an address scheme.
RegistryValueScope HandlerScope(const std::wstring& scheme, const std::wstring& command) {
  return RegistryValueScope(HKEY_CLASSES_ROOT, scheme + L"\\shell\\open\\command", nullptr, REG_SZ, command.c_str(),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

class SettingsDialogTest : public testbed::SaverTest, public ::testing::WithParamInterface<const wchar_t*> {
 protected:
  testbed::TempFolder folder_;
  std::wstring saver_ = folder_.CopySaverHere();
  EnvironmentScope locale_{L"LC_ALL", GetParam()};

  void WriteSettings(const std::vector<std::wstring>& lines) const {
    folder_.WriteBytes(L"Rubblit.ini", testbed::SettingsFileBytes(lines));
  }
  std::string SettingsBytes() const { return folder_.ReadBytes(L"Rubblit.ini"); }
  Pixels Skin(int id) const { return testbed::SkinPicture(saver_, id); }

  static bool WaitForScreen(const RECT& watch, const Pixels& expected) {
    return testbed::PumpUntil([&] { return testbed::ScreenPixels(watch) == expected; }, kDeadline);
  }
};

TEST_P(SettingsDialogTest, OpensShowingTheSettingsOnItsSkin) {
  testbed::TempFolder pictures;
  for (const wchar_t* name : {L"b.bmp", L"a.bmp", L"c.bmp"}) {
    pictures.WriteBytes(name, testbed::BmpBytes(4, 4, 24, testbed::TwoBands(0xFF0000, 0x0000FF, 4)));
  }
  WriteSettings(SettingsLines(L"1", L"0", pictures.path(), L"1021", L"3"));
  // Off the dialog, so that it opens with no pointer of its own set yet.
  testbed::MoveMouseTo(2, 2);
  // A window handle after the switch is not looked at: the dialog has no owner.
  testbed::SaverProcess process(saver_, L"/c:4567");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  DialogPanels panels = dialog.FindPanels();
  ASSERT_NE(panels.picK, nullptr);

  // Texture everywhere: not one pixel of the panels' own colour.
  RECT client{};
  ::GetClientRect(panels.picC, &client);
  testbed::ScreenShot all = testbed::ScreenShot();
  {
    RECT area = SettingsDialog::OnScreen(panels.picC, 0, 0, client.right, client.bottom);
    all = testbed::Capture(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
  EXPECT_EQ(std::count(all.pixels.begin(), all.pixels.end(), testbed::Rgb(128, 128, 128)), 0);

  // Pic_K: light grey inside a raised edge.
  Pixels box = testbed::ScreenPixels(SettingsDialog::OnScreen(panels.picK, 0, 0, 100, 100));
  auto at = [&](int x, int y) { return box.values.at(static_cast<std::size_t>(y * box.width + x)); };
  auto system = [](int index) {
    COLORREF c = ::GetSysColor(index);
    return testbed::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  };
  EXPECT_EQ(at(50, 50), testbed::Rgb(224, 224, 224));
  EXPECT_EQ(at(0, 0), system(COLOR_3DLIGHT));
  EXPECT_EQ(at(1, 1), system(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(at(99, 99), system(COLOR_3DDKSHADOW));
  EXPECT_EQ(at(98, 98), system(COLOR_BTNSHADOW));

  // The pictures follow the file: random, own size, kinds on, off, none, on.
  const Pixels optionOn = Skin(IDR_SKIN_OPTION_ON), optionOff = Skin(IDR_SKIN_OPTION_OFF);
  const Pixels checkOn = Skin(IDR_SKIN_CHECK_ON), checkOff = Skin(IDR_SKIN_CHECK_OFF);
  ASSERT_EQ(optionOn.width, 13);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kSequentialOption)), optionOff);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kRandomOption)), optionOn);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kOwnSizeOption)), optionOn);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kFullScreenOption)), optionOff);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.left, kKindBox[0])), checkOn);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.left, kKindBox[1])), checkOff);
  const Pixels third = testbed::ScreenPixels(OnScreen(panels.left, kKindBox[2]));
  EXPECT_NE(third, checkOn);
  EXPECT_NE(third, checkOff);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.left, kKindBox[3])), checkOn);
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.picC, kSaveFaceTop)), Crop(Skin(IDR_SKIN_BUTTON_NORMAL), kFaceTop));

  // The list holds the bare names in the image list's order.
  EXPECT_EQ(dialog.ListLines(), (std::vector<std::wstring>{L"a.bmp", L"b.bmp", L"c.bmp"}));

  // A second start beside the open dialog ends at once, and this one stays.
  testbed::SaverProcess second(saver_, L"/c");
  EXPECT_TRUE(second.WaitForExit(kDeadline));
  EXPECT_FALSE(process.WaitForExit(0));
  ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(process.WaitForExit(kDeadline));
}

TEST_P(SettingsDialogTest, PicturesAndCaptionsChooseWithAnyButtonAndSaveWritesTheChoice) {
  WriteSettings(SettingsLines(L"0", L"1", L"", L"1111", L"2"));
  testbed::SaverProcess process(saver_, L"/c");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  DialogPanels panels = dialog.FindPanels();
  const Pixels optionOn = Skin(IDR_SKIN_OPTION_ON), optionOff = Skin(IDR_SKIN_OPTION_OFF);

  // A picture with the left button, a caption with the right one.
  testbed::ClickAt(OnScreen(panels.right, kRandomOption));
  EXPECT_TRUE(WaitForScreen(OnScreen(panels.right, kRandomOption), optionOn));
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kSequentialOption)), optionOff);
  testbed::ClickAt(OnScreen(panels.right, kOwnSizeCaption), VK_RBUTTON);
  EXPECT_TRUE(WaitForScreen(OnScreen(panels.right, kOwnSizeOption), optionOn));
  EXPECT_EQ(testbed::ScreenPixels(OnScreen(panels.right, kFullScreenOption)), optionOff);

  // "設定" shows its pressed face while held, then saves and closes.
  const RECT save = OnScreen(panels.picC, kSaveButton);
  testbed::MoveMouseTo((save.left + save.right) / 2, (save.top + save.bottom) / 2);
  testbed::PressMouse(VK_LBUTTON);
  EXPECT_TRUE(WaitForScreen(OnScreen(panels.picC, kSaveFaceTop), Crop(Skin(IDR_SKIN_BUTTON_PRESSED), kFaceTop)));
  testbed::ReleaseMouse(VK_LBUTTON);
  ASSERT_TRUE(process.WaitForExit(kDeadline));
  // The system writes a number's leading blank away.
  EXPECT_EQ(SettingsBytes(), testbed::SettingsFileBytes(SettingsLines(L"1", L"0", L"", L"1111", L"2")));
}

TEST_P(SettingsDialogTest, CancelTheCloseBoxAndAPressReleasedOffTheDialogSaveNothing) {
  const std::string original = testbed::SettingsFileBytes(SettingsLines(L"0", L"0", L"", L"1111", L"1"));
  enum Way { kCancel, kCloseBox, kSystemMenuClose, kCancelReleasedOutside };
  for (Way way : {kCancel, kCloseBox, kSystemMenuClose, kCancelReleasedOutside}) {
    folder_.WriteBytes(L"Rubblit.ini", original);
    testbed::SaverProcess process(saver_, L"/c");
    SettingsDialog dialog(process);
    ASSERT_NE(dialog.window(), nullptr) << way;
    DialogPanels panels = dialog.FindPanels();
    // A choice made first is not saved either.
    testbed::ClickAt(OnScreen(panels.right, kRandomOption));
    WaitForScreen(OnScreen(panels.right, kRandomOption), Skin(IDR_SKIN_OPTION_ON));
    const RECT cancel = OnScreen(panels.picC, kCancelButton);
    switch (way) {
      case kCancel:
        testbed::ClickAt(cancel, VK_RBUTTON);
        break;
      case kCloseBox:
        ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
        break;
      case kSystemMenuClose:
        ::PostMessageW(dialog.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      case kCancelReleasedOutside:
        testbed::MoveMouseTo((cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2);
        testbed::PressMouse(VK_LBUTTON);
        WaitForScreen(OnScreen(panels.picC, kCancelFaceTop), Crop(Skin(IDR_SKIN_BUTTON_PRESSED), kFaceTop));
        testbed::MoveMouseTo(5, 5);
        testbed::ReleaseMouse(VK_LBUTTON);
        break;
    }
    EXPECT_TRUE(process.WaitForExit(kDeadline)) << way;
    EXPECT_EQ(SettingsBytes(), original) << way;
  }
}

TEST_P(SettingsDialogTest, ClearEmptiesTheListAndSaveThenWritesNoFolder) {
  testbed::TempFolder pictures;
  for (const wchar_t* name : {L"x.bmp", L"y.bmp"}) {
    pictures.WriteBytes(name, testbed::BmpBytes(4, 4, 24, testbed::TwoBands(0xFF0000, 0x0000FF, 4)));
  }
  WriteSettings(SettingsLines(L"0", L"0", pictures.path(), L"1111", L"1"));
  testbed::SaverProcess process(saver_, L"/c");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  DialogPanels panels = dialog.FindPanels();
  HWND list = dialog.List();
  EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  testbed::ClickAt(OnScreen(panels.left, kClearButton));
  EXPECT_TRUE(testbed::PumpUntil([&] { return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 0; }, kDeadline));
  EXPECT_FALSE(process.WaitForExit(200));
  testbed::ClickAt(OnScreen(panels.picC, kSaveButton));
  ASSERT_TRUE(process.WaitForExit(kDeadline));
  EXPECT_EQ(SettingsBytes(), testbed::SettingsFileBytes(SettingsLines(L"0", L"0", L"", L"1111", L"1")));
}

TEST_P(SettingsDialogTest, DraggingTheThumbShowsEachValueWhileItMoves) {
  // What lbl_Speed shows for each value when the dialog opens with it.
  std::vector<Pixels> shown;
  for (const wchar_t* speed : {L"1", L"2", L"3"}) {
    WriteSettings(SettingsLines(L"0", L"0", L"", L"1111", speed));
    testbed::SaverProcess process(saver_, L"/c");
    SettingsDialog dialog(process);
    ASSERT_NE(dialog.window(), nullptr) << speed;
    shown.push_back(testbed::ScreenPixels(OnScreen(dialog.FindPanels().right, kSpeedValue)));
    ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(process.WaitForExit(kDeadline));
  }
  ASSERT_NE(shown[0], shown[1]);
  ASSERT_NE(shown[1], shown[2]);

  WriteSettings(SettingsLines(L"0", L"0", L"", L"1111", L"1"));
  testbed::SaverProcess process(saver_, L"/c");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  const RECT value = OnScreen(dialog.FindPanels().right, kSpeedValue);
  RECT bar{};
  ::GetWindowRect(dialog.SpeedBar(), &bar);
  const int arrow = ::GetSystemMetrics(SM_CXHSCROLL);
  const int y = (bar.top + bar.bottom) / 2;
  // The thumb held and taken across the trough: each value shows before the button comes up.
  testbed::MoveMouseTo(bar.left + arrow + 3, y);
  testbed::PressMouse(VK_LBUTTON);
  const int xs[] = {bar.left + arrow + 3, (bar.left + bar.right) / 2, bar.right - arrow - 3};
  for (int v = 0; v < 3; ++v) {
    testbed::MoveMouseTo(xs[v], y);
    EXPECT_TRUE(WaitForScreen(value, shown[static_cast<std::size_t>(v)])) << "value " << v + 1;
  }
  testbed::ReleaseMouse(VK_LBUTTON);
  testbed::ClickAt(OnScreen(dialog.FindPanels().picC, kSaveButton));
  ASSERT_TRUE(process.WaitForExit(kDeadline));
  EXPECT_EQ(SettingsBytes(), testbed::SettingsFileBytes(SettingsLines(L"0", L"0", L"", L"1111", L"3")));
}

TEST_P(SettingsDialogTest, TheLinkOpensThroughTheSystemsHandlerOfItsAddress) {
  const std::wstring recorder = folder_.File(L"link_recorder.exe");
  ASSERT_TRUE(::CopyFileW((testbed::BuildFolder() + L"\\link_recorder.exe").c_str(), recorder.c_str(), FALSE));
  const RegistryValueScope handler = HandlerScope(L"http", L"\"" + recorder + L"\" \"%1\"");
  WriteSettings(SettingsLines(L"0", L"0", L"", L"1111", L"1"));
  testbed::SaverProcess process(saver_, L"/c");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  // A right-button click opens it too.
  testbed::ClickAt(OnScreen(dialog.FindPanels().picC, kLink), VK_RBUTTON);
  ASSERT_TRUE(testbed::PumpUntil([&] { return folder_.Exists(L"link-opened.txt"); }, kDeadline));
  std::string opened;
  testbed::PumpUntil(
      [&] {
        opened = folder_.ReadBytes(L"link-opened.txt");
        return !opened.empty();
      },
      kDeadline);
  EXPECT_NE(opened.find("\"http://rubblit.example.com/\""), std::string::npos) << opened;
  EXPECT_FALSE(process.WaitForExit(0));
  ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(process.WaitForExit(kDeadline));
}

INSTANTIATE_TEST_SUITE_P(CodePages, SettingsDialogTest, ::testing::Values(L"ja_JP.UTF-8", L"C.UTF-8"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::string(info.index == 0 ? "ShiftJis" : "Latin1");
                         });

// The prefix's display dpi; Wine reads it when a program starts.
RegistryValueScope DpiScope(DWORD dpi) {
  return RegistryValueScope(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

class SettingsDialogDpiTest : public testbed::SaverTest, public ::testing::WithParamInterface<int> {
 protected:
  testbed::TempFolder folder_;
  std::wstring saver_ = folder_.CopySaverHere();
};

TEST_P(SettingsDialogDpiTest, WindowAndChildWindowsTakeTheirScaledRectangles) {
  const int dpi = GetParam();
  const RegistryValueScope dpiScope = DpiScope(static_cast<DWORD>(dpi));
  auto scale = [dpi](int pixels96) {
    // Twips over twips per pixel, halves to even: 253.5 gives 254, 169.5 gives 170.
    const int twice = pixels96 * dpi * 2 / 96;
    return twice % 2 == 0 ? twice / 2 : ((twice / 2) % 2 == 0 ? twice / 2 : twice / 2 + 1);
  };
  auto rect = [&](int left, int top, int width, int height) {
    return RECT{scale(left), scale(top), scale(left) + scale(width), scale(top) + scale(height)};
  };
  testbed::SaverProcess process(saver_, L"/c");
  SettingsDialog dialog(process);
  ASSERT_NE(dialog.window(), nullptr);
  wchar_t title[64] = {};
  ::GetWindowTextW(dialog.window(), title, 64);
  EXPECT_STREQ(title, testbed::kSettingsCaption);

  RECT window{};
  ::GetWindowRect(dialog.window(), &window);
  const int width = scale(549) + 8, height = scale(385) + 27;
  EXPECT_EQ(window.right - window.left, width);
  EXPECT_EQ(window.bottom - window.top, height);
  EXPECT_EQ(window.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(window.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  RECT client{};
  ::GetClientRect(dialog.window(), &client);
  // The frame allowance of 8 and 27 pixels holds Pic_C whole at 96 dpi; at 144 dpi the taller
  // caption bar covers some of its bottom rows, whose texture nobody misses.
  EXPECT_GE(client.right, scale(549));
  if (dpi == 96) {
    EXPECT_GE(client.bottom, 385);
  }

  DialogPanels panels = dialog.FindPanels();
  ASSERT_NE(panels.picK, nullptr);
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(panels.picC, dialog.window()), rect(0, 0, 549, 385)));
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(panels.right, panels.picC), rect(336, 12, 197, 225)));
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(panels.left, panels.picC), rect(12, 12, 313, 329)));
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(panels.picK, panels.left), rect(192, 52, 100, 100)));
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(dialog.List(), panels.left), rect(12, 68, 169, 225)));
  EXPECT_TRUE(Same(SettingsDialog::RelativeTo(dialog.SpeedBar(), panels.right), rect(24, 160, 113, 17)));
  EXPECT_EQ(::SendMessageW(dialog.List(), LB_GETHORIZONTALEXTENT, 0, 0), dpi == 96 ? 311 : 325);

  ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(process.WaitForExit(kDeadline));
}

INSTANTIATE_TEST_SUITE_P(Dpi, SettingsDialogDpiTest, ::testing::Values(96, 144));

}  // namespace
