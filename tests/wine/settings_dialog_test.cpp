// The settings dialog (rubblit.scr /c) as a user meets it: what it shows for a settings file, what
// the mouse does to it and to the file, the folder chosen in the shell's real browser, the kind
// check boxes, the preview of a clicked file name, and its windows at two display dpis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <shlobj.h>

#include "dialog/layout.h"
#include "forms/handles.h"
#include "forms/dpi.h"
#include "resources/resource_ids.h"
#include "wine/testbed/folder_browser.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/remote_memory.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

using testbed::At;
using testbed::Pixels;
using testbed::SettingsDialog;
using Lines = std::vector<std::wstring>;

// Generous: a busy machine and a starting Wine desktop delay a process by seconds. A closing window
// also waits 2 s for a window manager that Xvfb does not have.
constexpr DWORD kDeadline = 20000;
constexpr const wchar_t* kBrowseTitle = L"ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください";
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kGrey = 0xE0E0E0;

// Elements, in their panel's pixels at 96 dpi. Pic_C's, with the rows of the button faces above
// their captions:
constexpr At kSaveButton{340, 320, 93, 17}, kCancelButton{440, 320, 93, 17}, kLink{196, 356, 214, 13};
constexpr At kSaveFaceTop{340, 316, 95, 4}, kCancelFaceTop{440, 316, 95, 4}, kFaceTop{0, 0, 95, 4};
// The left panel's:
constexpr At kFolderButton{16, 44, 101, 17}, kCount{128, 44, 33, 17}, kFolderPath{12, 300, 285, 17};
constexpr At kPreSize{192, 36, 101, 13}, kClearButton{196, 272, 97, 17}, kJpgCaption{224, 228, 25, 13};
constexpr At kKindBox[4] = {{208, 188, 12, 12}, {208, 208, 12, 12}, {208, 228, 12, 12}, {208, 248, 12, 12}};
// The right panel's:
constexpr At kSequentialOption{24, 40, 13, 13}, kRandomOption{108, 40, 13, 13}, kSpeedValue{56, 180, 53, 13};
constexpr At kOwnSizeOption{24, 100, 13, 13}, kFullScreenOption{108, 100, 13, 13}, kOwnSizeCaption{40, 100, 42, 13};

// Rubblit.ini's bytes, its keys in the order the dialog writes them.
std::string Ini(const wchar_t* changeOrder, const wchar_t* imageSize, const std::wstring& folder, const wchar_t* kinds,
                const wchar_t* speed) {
  return testbed::SettingsFileBytes(testbed::SettingsLines(changeOrder, imageSize, folder, kinds, speed));
}

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

class DialogTest : public testbed::SaverTest {
 protected:
  testbed::TempFolder folder_, pictures_;
  std::wstring saver_ = folder_.CopySaverHere();
  const Pixels tile_ = Skin(IDR_SKIN_TILE), optionOn_ = Skin(IDR_SKIN_OPTION_ON),
               optionOff_ = Skin(IDR_SKIN_OPTION_OFF), checkOn_ = Skin(IDR_SKIN_CHECK_ON),
               checkOff_ = Skin(IDR_SKIN_CHECK_OFF);
  std::optional<testbed::SaverProcess> process_;
  std::optional<SettingsDialog> dialog_;
  testbed::DialogPanels panels_;

  // Starts the dialog on this settings file, ending the one before; false when it did not show. The
  // program is saver_, or the one in a subfolder of folder_.
  bool Open(const std::string& ini, const wchar_t* arguments = L"/c", const std::wstring& subfolder = L"") {
    const std::wstring within = subfolder.empty() ? L"" : subfolder + L"\\";
    folder_.WriteBytes(within + L"Rubblit.ini", ini);
    dialog_.reset();
    process_.emplace(folder_.File(within + L"rubblit.scr"), arguments);
    dialog_.emplace(*process_);
    panels_ = dialog_->FindPanels();
    return dialog_->window() != nullptr;
  }
  RECT Main(const At& at) const { return SettingsDialog::OnScreen(panels_.picC, at); }
  RECT Left(const At& at) const { return SettingsDialog::OnScreen(panels_.left, at); }
  RECT Right(const At& at) const { return SettingsDialog::OnScreen(panels_.right, at); }
  Pixels Skin(int id, std::optional<At> piece = {}) const { return testbed::SkinPicture(saver_, id, piece); }
  static bool Shows(const RECT& rect, const Pixels& look) {
    return testbed::PumpUntil([&] { return testbed::ScreenPixels(rect) == look; }, kDeadline);
  }
  // The left button held down on the middle of rect.
  static void PressOn(const RECT& rect) {
    testbed::MoveMouseTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    testbed::PressMouse(VK_LBUTTON);
  }

  // The folder button, the folder selected in the browser, OK; true when the browser took it and
  // went.
  bool Choose(const std::wstring& folder) const {
    testbed::ClickAt(Left(kFolderButton));
    testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
    if (!browser.window() || !browser.Select(folder)) return false;
    browser.Press(IDOK);
    return testbed::PumpUntil([&] { return !testbed::FolderBrowser::Find(dialog_->window()); }, kDeadline);
  }
  // The list, the count and the folder field, waited for; the labels as the dialog draws them.
  bool Lists(const Lines& lines, const std::wstring& count, const std::optional<std::wstring>& folder = {}) const {
    const Pixels countLook = testbed::LabelOverTile(tile_, kCount, count, dialog::kRightAligned | dialog::kBorder);
    const Pixels folderLook = testbed::LabelOverTile(tile_, kFolderPath, folder.value_or(L""), dialog::kBorder);
    return testbed::PumpUntil(
        [&] {
          return dialog_->ListLines() == lines && testbed::ScreenPixels(Left(kCount)) == countLook &&
                 (!folder || testbed::ScreenPixels(Left(kFolderPath)) == folderLook);
        },
        kDeadline);
  }
  // An element with no picture: the bare tile.
  Pixels Bare(const At& at) const { return testbed::LabelOverTile(tile_, at, L"", 0); }
  Pixels SpeedLook(const std::wstring& value) const {
    return testbed::LabelOverTile(tile_, kSpeedValue, value,
                                  dialog::kCentred | dialog::kWindowFont | dialog::kWindowTextColour);
  }
  bool KindShows(int kind, bool on) const { return Shows(Left(kKindBox[kind]), on ? checkOn_ : checkOff_); }
  // Pic_K at its corner of the left panel, width x height, the raised edge around bands of these
  // colours, which JPEG and scaling blur a little.
  bool PreviewShows(int width, int height, std::uint32_t top, std::uint32_t bottom, int tolerance = 40,
                    int dpi = 96) const {
    using testbed::SystemColour;
    const dialog::PixelRect corner = dialog::LayOutDialog(dpi).picK;
    return testbed::PumpUntil(
        [&] {
          const RECT rect = SettingsDialog::RelativeTo(panels_.picK, panels_.left);
          const Pixels box = testbed::ScreenPixels(SettingsDialog::OnScreen(panels_.picK, {0, 0, width, height}));
          auto at = [&](int x, int y) { return box.at(static_cast<std::size_t>(y * width + x)); };
          return ::IsWindowVisible(panels_.picK) &&
                 Same(rect, {corner.left, corner.top, corner.left + width, corner.top + height}) &&
                 testbed::Near(at(width / 2, 3), top, tolerance) &&
                 testbed::Near(at(width / 2, height - 4), bottom, tolerance) &&
                 at(0, 0) == SystemColour(COLOR_3DLIGHT) && at(1, 1) == SystemColour(COLOR_BTNHIGHLIGHT) &&
                 at(width - 1, height - 1) == SystemColour(COLOR_3DDKSHADOW) &&
                 at(width - 2, height - 2) == SystemColour(COLOR_BTNSHADOW);
        },
        kDeadline);
  }
  // Pic_C fills the client area, and the child windows lie at their rectangles for dpi.
  bool LaidOutAt(int dpi) const {
    const dialog::DialogLayout layout = dialog::LayOutDialog(dpi);
    auto placed = [](HWND window, HWND ancestor, const dialog::PixelRect& r) {
      return Same(SettingsDialog::RelativeTo(window, ancestor), {r.left, r.top, r.left + r.width, r.top + r.height});
    };
    RECT client{};
    ::GetClientRect(dialog_->window(), &client);
    return Same(client, {0, 0, layout.picC.width, layout.picC.height}) &&
           placed(panels_.picC, dialog_->window(), layout.picC) &&
           placed(panels_.right, panels_.picC, layout.rightPanel) &&
           placed(panels_.left, panels_.picC, layout.leftPanel) && placed(dialog_->List(), panels_.left, layout.list) &&
           placed(dialog_->SpeedBar(), panels_.right, layout.speed) &&
           ::SendMessageW(dialog_->List(), LB_GETHORIZONTALEXTENT, 0, 0) == layout.listExtent;
  }
  // WM_DPICHANGED as the system sends it when the window reaches a monitor of another dpi: the
  // rectangle it suggests keeps the window's corner and frame around Pic_C's size at that dpi.
  bool ChangeDpi(int dpi) const {
    RECT window{}, client{};
    ::GetWindowRect(dialog_->window(), &window);
    ::GetClientRect(dialog_->window(), &client);
    const dialog::PixelRect picC = dialog::LayOutDialog(dpi).picC;
    const RECT suggested{window.left, window.top, window.right - client.right + picC.width,
                         window.bottom - client.bottom + picC.height};
    testbed::RemoteMemory remote(process_->id(), sizeof suggested);
    DWORD_PTR result = 0;
    return remote.Write(&suggested, sizeof suggested) &&
           ::SendMessageTimeoutW(dialog_->window(), forms::kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                                 reinterpret_cast<LPARAM>(remote.get()), SMTO_NORMAL, kDeadline, &result) &&
           testbed::PumpUntil(
               [&] {
                 RECT now{};
                 ::GetWindowRect(dialog_->window(), &now);
                 return Same(now, suggested) && LaidOutAt(dpi);
               },
               kDeadline);
  }
};

// Every check runs with the ANSI code page 932 and again with 1252, which the dialog's process
// takes from LC_ALL. _wgetenv gives this process's own as it started: the C runtime's copy of the
// environment, which SetEnvironmentVariableW leaves alone.
class SettingsDialogTest : public DialogTest, public ::testing::WithParamInterface<const wchar_t*> {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ::SetEnvironmentVariableW(L"LC_ALL", GetParam());
  }
  void TearDown() override {
    DialogTest::TearDown();
    ::SetEnvironmentVariableW(L"LC_ALL", _wgetenv(L"LC_ALL"));
  }
};

// A registry value of the prefix, set for one test and put back however it ends.
class RegistryValueScope {
 public:
  RegistryValueScope(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size)
      : name_(name) {
    ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    had_ = ::RegQueryValueExW(key_, name_, nullptr, &oldType_, old_, &oldSize_) == ERROR_SUCCESS;
    ::RegSetValueExW(key_, name_, 0, type, static_cast<const BYTE*>(data), size);
  }
  RegistryValueScope(const RegistryValueScope&) = delete;
  RegistryValueScope& operator=(const RegistryValueScope&) = delete;
  ~RegistryValueScope() {
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
  DWORD oldSize_ = sizeof old_;
};

// Which files the loader refuses is picture_loader_test's, the fitted size preview_fit_test's.
TEST_P(SettingsDialogTest, ShowsTheFileOnItsSkinPreviewsAClickedNameAndStaysForItsLinkAndASecondStart) {
  // In the list's order, which is the image list's, sorted.
  const struct {
    std::wstring name;
    std::string bytes;
    const wchar_t* size;  // empty: the file cannot be shown
    int width, height;
    std::uint32_t top, bottom;
  } files[] = {
      {std::wstring(196, L'n') + L".jpg", testbed::JpegBytes(50, 50, testbed::TwoBands(kBlue, kRed, 50)), L"50 * 50",
       100, 100, kBlue, kRed},
      {L"notes.jpg", "This is not a picture.\r\n", L"", 100, 100, kGrey, kGrey},
      {L"wide.bmp", testbed::BmpBytes(640, 480, 24, testbed::TwoBands(kRed, kBlue, 480)), L"640 * 480", 100, 75, kRed,
       kBlue},
      {L"縦 長い.gif", testbed::GifBytes(300, 400, testbed::TwoBands(kGreen, kRed, 400)), L"300 * 400", 75, 100, kGreen,
       kRed},
  };
  for (const auto& file : files) pictures_.WriteBytes(file.name, file.bytes);
  const std::wstring recorder = folder_.File(L"link_recorder.exe");
  ASSERT_TRUE(::CopyFileW((testbed::BuildFolder() + L"\\link_recorder.exe").c_str(), recorder.c_str(), FALSE));
  const std::wstring command = L"\"" + recorder + L"\" \"%1\"";
  const RegistryValueScope handler(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, REG_SZ, command.c_str(),
                                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  // Off the dialog, so that it opens with no pointer of its own set yet.
  testbed::MoveMouseTo(2, 2);
  // A window handle after the switch is not looked at: the dialog has no owner.
  ASSERT_TRUE(Open(Ini(L"1", L"2", pictures_.path(), L"1112", L"3"), L"/c:4567"));

  // Texture everywhere on Pic_C: not one pixel of the panels' own colour.
  const Pixels all = testbed::ScreenPixels(Main({0, 0, 549, 385}));
  EXPECT_EQ(std::count(all.begin(), all.end(), testbed::Rgb(128, 128, 128)), 0);
  // Pic_K: light grey inside a raised edge.
  EXPECT_TRUE(PreviewShows(100, 100, kGrey, kGrey, 0));

  // The pictures and the speed follow the file: random; a size and a kind (*.wmf) that are neither
  // 0 nor 1, which show no picture; the other kinds on.
  EXPECT_EQ(testbed::ScreenPixels(Right(kSequentialOption)), optionOff_);
  EXPECT_EQ(testbed::ScreenPixels(Right(kRandomOption)), optionOn_);
  EXPECT_EQ(testbed::ScreenPixels(Right(kOwnSizeOption)), Bare(kOwnSizeOption));
  EXPECT_EQ(testbed::ScreenPixels(Right(kFullScreenOption)), Bare(kFullScreenOption));
  EXPECT_EQ(testbed::ScreenPixels(Left(kKindBox[0])), checkOn_);
  EXPECT_EQ(testbed::ScreenPixels(Left(kKindBox[1])), checkOn_);
  EXPECT_EQ(testbed::ScreenPixels(Left(kKindBox[2])), checkOn_);
  EXPECT_EQ(testbed::ScreenPixels(Left(kKindBox[3])), Bare(kKindBox[3]));
  EXPECT_EQ(testbed::ScreenPixels(Right(kSpeedValue)), SpeedLook(L"3"));
  EXPECT_EQ(testbed::ScreenPixels(Main(kSaveFaceTop)), Skin(IDR_SKIN_BUTTON_NORMAL, kFaceTop));
  // The list holds the bare names.
  ASSERT_EQ(dialog_->ListLines(), (Lines{files[0].name, files[1].name, files[2].name, files[3].name}));

  // A click on a name: Pic_K keeps its corner, takes the fitted size and shows the two bands, or
  // light grey with no size when the file cannot be shown.
  const int itemHeight = static_cast<int>(::SendMessageW(dialog_->List(), LB_GETITEMHEIGHT, 0, 0));
  for (int line = 0; line < static_cast<int>(std::size(files)); ++line) {
    const auto& file = files[line];
    testbed::ClickAt(SettingsDialog::OnScreen(dialog_->List(), {4, line * itemHeight + 1, 40, itemHeight - 2}));
    EXPECT_TRUE(Shows(Left(kPreSize), testbed::LabelOverTile(tile_, kPreSize, file.size, dialog::kCentred))) << line;
    EXPECT_TRUE(PreviewShows(file.width, file.height, file.top, file.bottom)) << line;
  }
  // A line that names nothing, as a file gone before it was listed leaves: the box and the size empty.
  ::SendMessageW(dialog_->List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  testbed::ClickAt(SettingsDialog::OnScreen(dialog_->List(), {4, 4 * itemHeight + 1, 40, itemHeight - 2}));
  EXPECT_TRUE(Shows(Left(kPreSize), testbed::LabelOverTile(tile_, kPreSize, L"", dialog::kCentred)));
  EXPECT_TRUE(PreviewShows(100, 100, kGrey, kGrey, 0));

  // The link opens through the system's handler of its address, with either button.
  testbed::ClickAt(Main(kLink), VK_RBUTTON);
  std::string opened;
  EXPECT_TRUE(testbed::PumpUntil([&] { return !(opened = folder_.ReadBytes(L"link-opened.txt")).empty(); }, kDeadline));
  EXPECT_NE(opened.find("\"http://rubblit.example.com/\""), std::string::npos) << opened;
  // A second start beside the open dialog ends at once, and this one stays.
  testbed::SaverProcess second(saver_, L"/c");
  EXPECT_TRUE(second.WaitForExit(kDeadline));
  EXPECT_FALSE(process_->WaitForExit(0));
}

TEST_P(SettingsDialogTest, PicturesCaptionsAndTheThumbChooseWithAnyButtonAndSaveWritesTheChoice) {
  ASSERT_TRUE(Open(Ini(L"0", L"1", pictures_.path(), L"1111", L"4")));
  EXPECT_EQ(testbed::ScreenPixels(Right(kSequentialOption)), optionOn_);
  EXPECT_EQ(testbed::ScreenPixels(Right(kFullScreenOption)), optionOn_);
  // A speed the scroll bar cannot show opens at its lowest value.
  EXPECT_EQ(testbed::ScreenPixels(Right(kSpeedValue)), SpeedLook(L"1"));

  // A picture with the left button, a caption with the right one.
  testbed::ClickAt(Right(kRandomOption));
  EXPECT_TRUE(Shows(Right(kRandomOption), optionOn_));
  EXPECT_EQ(testbed::ScreenPixels(Right(kSequentialOption)), optionOff_);
  testbed::ClickAt(Right(kOwnSizeCaption), VK_RBUTTON);
  EXPECT_TRUE(Shows(Right(kOwnSizeOption), optionOn_));
  EXPECT_EQ(testbed::ScreenPixels(Right(kFullScreenOption)), optionOff_);

  // The thumb held and taken across the trough: each value shows before the button comes up.
  RECT bar{};
  ::GetWindowRect(dialog_->SpeedBar(), &bar);
  const int arrow = ::GetSystemMetrics(SM_CXHSCROLL), y = (bar.top + bar.bottom) / 2;
  const int xs[] = {bar.left + arrow + 3, (bar.left + bar.right) / 2, bar.right - arrow - 3};
  testbed::MoveMouseTo(xs[0], y);
  testbed::PressMouse(VK_LBUTTON);
  for (int v = 0; v < 3; ++v) {
    testbed::MoveMouseTo(xs[v], y);
    EXPECT_TRUE(Shows(Right(kSpeedValue), SpeedLook(std::to_wstring(v + 1)))) << "value " << v + 1;
  }
  testbed::ReleaseMouse(VK_LBUTTON);
  // The left arrow steps down, a click in the trough right of the thumb pages up.
  testbed::ClickAt({bar.left, bar.top, bar.left + arrow, bar.bottom});
  EXPECT_TRUE(Shows(Right(kSpeedValue), SpeedLook(L"2")));
  testbed::ClickAt({xs[2], bar.top, xs[2] + 1, bar.bottom});
  EXPECT_TRUE(Shows(Right(kSpeedValue), SpeedLook(L"3")));

  // "設定" shows its pressed face while held, then saves and closes.
  PressOn(Main(kSaveButton));
  EXPECT_TRUE(Shows(Main(kSaveFaceTop), Skin(IDR_SKIN_BUTTON_PRESSED, kFaceTop)));
  testbed::ReleaseMouse(VK_LBUTTON);
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  // The system writes a number's leading blank away.
  EXPECT_EQ(folder_.ReadBytes(L"Rubblit.ini"), Ini(L"1", L"0", pictures_.path(), L"1111", L"3"));
}

TEST_P(SettingsDialogTest, CancelTheCloseBoxAndAPressReleasedOffTheDialogSaveNothing) {
  const std::string original = Ini(L"0", L"0", L"", L"1111", L"1");
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"cancel", [&] { testbed::ClickAt(Main(kCancelButton), VK_RBUTTON); }},
      {"close box", [&] { ::PostMessageW(dialog_->window(), WM_CLOSE, 0, 0); }},
      {"system menu", [&] { ::PostMessageW(dialog_->window(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"cancel released off the dialog",
       [&] {
         PressOn(Main(kCancelButton));
         EXPECT_TRUE(Shows(Main(kCancelFaceTop), Skin(IDR_SKIN_BUTTON_PRESSED, kFaceTop)));
         testbed::MoveMouseTo(5, 5);
         testbed::ReleaseMouse(VK_LBUTTON);
       }},
  };
  for (const auto& [way, close] : ways) {
    ASSERT_TRUE(Open(original)) << way;
    // A choice made first, which saving would write, is not saved either.
    testbed::ClickAt(Right(kRandomOption));
    ASSERT_TRUE(Shows(Right(kRandomOption), optionOn_)) << way;
    close();
    EXPECT_TRUE(process_->WaitForExit(kDeadline)) << way;
    EXPECT_EQ(folder_.ReadBytes(L"Rubblit.ini"), original) << way;
  }
}

TEST_P(SettingsDialogTest, FolderNamesTheCodePageCannotSayAreReadAndSavedInShortFormOrReportedWhereNoneIsLeft) {
  // ë is missing from code page 932, Ф from 1252: the profile functions take neither.
  const std::wstring named = L"Zoë Фото";
  const std::wstring program = folder_.File(named), pictures = pictures_.File(named);
  ASSERT_TRUE(::CreateDirectoryW(program.c_str(), nullptr) && ::CreateDirectoryW(pictures.c_str(), nullptr));
  ASSERT_TRUE(::CopyFileW(saver_.c_str(), (program + L"\\rubblit.scr").c_str(), FALSE));
  pictures_.WriteBytes(named + L"\\a.bmp", testbed::BmpBytes(8, 8, 24, testbed::TwoBands(kRed, kBlue, 8)));
  wchar_t shortForm[MAX_PATH] = {};
  ASSERT_GT(::GetShortPathNameW(pictures.c_str(), shortForm, MAX_PATH), 0u);

  // Read through the file's short path, the folder's short form shown long; saved the same way.
  ASSERT_TRUE(Open(Ini(L"0", L"0", shortForm, L"1111", L"2"), L"/c", named));
  EXPECT_TRUE(Lists({L"a.bmp"}, L"1", pictures));
  testbed::ClickAt(Right(kRandomOption));
  ASSERT_TRUE(Shows(Right(kRandomOption), optionOn_));
  testbed::ClickAt(Main(kSaveButton));
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  const std::string saved = Ini(L"1", L"0", shortForm, L"1111", L"2");
  EXPECT_EQ(folder_.ReadBytes(named + L"\\Rubblit.ini"), saved);

  // A folder gone since it was chosen has no short form either: saving says so once and keeps
  // the folder saved before.
  const std::wstring gone = pictures_.File(L"Zoë gone Фото");
  ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
  ASSERT_TRUE(Open(saved, L"/c", named));
  ASSERT_TRUE(Choose(gone));
  ASSERT_TRUE(Lists({}, L"0", gone));
  ASSERT_TRUE(testbed::PumpUntil([&] { return ::RemoveDirectoryW(gone.c_str()) != 0; }, kDeadline));
  testbed::ClickAt(Main(kSaveButton));
  HWND message = nullptr;
  ASSERT_TRUE(testbed::PumpUntil([&] { return (message = testbed::FolderBrowser::Find(dialog_->window())) != nullptr; },
                                 kDeadline));
  EXPECT_NE(::FindWindowExW(
                message, nullptr, nullptr,
                L"画像のﾌｫﾙﾀﾞ名に このｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字が含まれているため、ﾌｫﾙﾀﾞを保存できませんでした。"),
            nullptr);
  ::PostMessageW(message, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  EXPECT_EQ(folder_.ReadBytes(named + L"\\Rubblit.ini"), saved);
}

INSTANTIATE_TEST_SUITE_P(CodePages, SettingsDialogTest, ::testing::Values(L"ja_JP.UTF-8", L"C.UTF-8"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::string(info.index == 0 ? "ShiftJis" : "Latin1");
                         });

using DialogPicturesTest = DialogTest;

TEST_F(DialogPicturesTest, FolderChoiceIgnoresClicksWhileItScansAndListsWhatTheKindsAndClearLeave) {
  // The list goes by the names alone.
  for (const wchar_t* name : {L"b.bmp", L"a.gif", L"r.jpg", L"notes.txt"}) pictures_.WriteBytes(name, "");
  ASSERT_TRUE(Open(Ini(L"0", L"0", L"", L"1111", L"1")));

  // The folder button, a kind and "ｸﾘｱ" clicked while the scan runs, queued behind the OK for the
  // scan's own message handling to deliver: nothing comes of them.
  testbed::ClickAt(Left(kFolderButton));
  testbed::FolderBrowser scanning(dialog_->window(), process_->id(), kDeadline);
  ASSERT_TRUE(scanning.Select(pictures_.path()));
  ::PostMessageW(scanning.window(), WM_COMMAND, IDOK, 0);
  for (const At& at : {kFolderButton, kKindBox[1], kClearButton}) {
    const LPARAM point = MAKELPARAM(at.left + at.width / 2, at.top + at.height / 2);
    ::PostMessageW(panels_.left, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(panels_.left, WM_LBUTTONUP, 0, point);
  }
  // In the scan's order: bmp before gif before jpg. A selection posted behind the clicks tells when
  // the dialog has taken them all.
  EXPECT_TRUE(Lists({L"b.bmp", L"a.gif", L"r.jpg"}, L"3", pictures_.path()));
  ::PostMessageW(dialog_->List(), LB_SETCURSEL, 2, 0);
  EXPECT_TRUE(testbed::PumpUntil([&] { return ::SendMessageW(dialog_->List(), LB_GETCURSEL, 0, 0) == 2; }, kDeadline));
  EXPECT_TRUE(KindShows(1, true));
  EXPECT_EQ(testbed::FolderBrowser::Find(dialog_->window()), nullptr);

  // The computer, which is no folder on disk, cannot be taken; cancel keeps it all. The browser
  // shows the dialog's request in wide characters.
  testbed::ClickAt(Left(kFolderButton));
  testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
  EXPECT_NE(::FindWindowExW(browser.window(), nullptr, nullptr, kBrowseTitle), nullptr);
  ASSERT_TRUE(browser.SelectComputer());
  EXPECT_TRUE(testbed::PumpUntil([&] { return !::IsWindowEnabled(::GetDlgItem(browser.window(), IDOK)); }, kDeadline));
  browser.Press(IDCANCEL);
  ASSERT_TRUE(testbed::PumpUntil([&] { return !testbed::FolderBrowser::Find(dialog_->window()); }, kDeadline));
  EXPECT_TRUE(Lists({L"b.bmp", L"a.gif", L"r.jpg"}, L"3", pictures_.path()));

  // The caption with the right button, the boxes with the left: the list again, sorted; the last
  // kind on turned off empties the list and its count.
  testbed::ClickAt(Left(kJpgCaption), VK_RBUTTON);
  EXPECT_TRUE(KindShows(2, false));
  EXPECT_TRUE(Lists({L"a.gif", L"b.bmp"}, L"2"));
  for (int kind : {3, 0, 1}) {
    testbed::ClickAt(Left(kKindBox[kind]));
    EXPECT_TRUE(KindShows(kind, false));
  }
  EXPECT_TRUE(Lists({}, L""));
  for (int kind : {3, 0, 1, 2}) {
    testbed::ClickAt(Left(kKindBox[kind]));
    EXPECT_TRUE(KindShows(kind, true));
  }
  EXPECT_TRUE(Lists({L"a.gif", L"b.bmp", L"r.jpg"}, L"3"));

  // An empty folder counts 0. Deleted after its choice, and no folder at all: a kind's toggle
  // changes only the flag and its box, the count stays as it was.
  const std::wstring gone = pictures_.File(L"gone");
  ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
  ASSERT_TRUE(Choose(gone));
  EXPECT_TRUE(Lists({}, L"0", gone));
  ASSERT_TRUE(testbed::PumpUntil([&] { return ::RemoveDirectoryW(gone.c_str()) != 0; }, kDeadline));
  testbed::ClickAt(Left(kKindBox[0]));
  EXPECT_TRUE(KindShows(0, false));
  EXPECT_TRUE(Lists({}, L"0", gone));
  testbed::ClickAt(Left(kClearButton));
  ASSERT_TRUE(Lists({}, L"", L""));
  testbed::ClickAt(Left(kKindBox[1]));
  EXPECT_TRUE(KindShows(1, false));
  EXPECT_TRUE(Lists({}, L""));
  testbed::ClickAt(Main(kSaveButton));
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  EXPECT_EQ(folder_.ReadBytes(L"Rubblit.ini"), Ini(L"0", L"0", L"", L"0011", L"1"));
}

// Where the program's own file cannot be written (another program holds it open for reading),
// "設定" writes the user's file in the real %APPDATA%, with the folder chosen in the dialog.
TEST_F(DialogPicturesTest, AChosenFolderIsSavedToTheUsersFileWhenTheProgramsIsHeld) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData), S_OK);
  const std::filesystem::path users = std::filesystem::path(appData) / L"Rubblit" / L"Rubblit.ini";
  const std::unique_ptr<const std::filesystem::path, void (*)(const std::filesystem::path*)> removed(
      &users, [](const std::filesystem::path* file) { std::filesystem::remove_all(file->parent_path()); });
  pictures_.WriteBytes(L"a.bmp", "");
  ASSERT_TRUE(Open(Ini(L"0", L"0", L"", L"1111", L"1")));
  ASSERT_TRUE(Choose(pictures_.path()));
  EXPECT_TRUE(Lists({L"a.bmp"}, L"1", pictures_.path()));
  const forms::KernelHandle held(::CreateFileW(folder_.File(L"Rubblit.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
  testbed::ClickAt(Main(kSaveButton));
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  std::ifstream saved(users, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), Ini(L"0", L"0", pictures_.path(), L"1111", L"1"));
}

TEST_F(DialogPicturesTest, ADpiChangeLaysTheDialogOutAgainInTheSuggestedRectangleAndKeepsWhatTheUserDid) {
  pictures_.WriteBytes(L"a.bmp", testbed::BmpBytes(64, 48, 24, testbed::TwoBands(kRed, kBlue, 48)));
  pictures_.WriteBytes(L"b.gif", testbed::GifBytes(300, 400, testbed::TwoBands(kGreen, kRed, 400)));
  ASSERT_TRUE(Open(Ini(L"0", L"0", pictures_.path(), L"1111", L"1")));
  // Random, jpg off, speed 2, the second name previewed.
  testbed::ClickAt(Right(kRandomOption));
  testbed::ClickAt(Left(kKindBox[2]));
  ASSERT_TRUE(KindShows(2, false));
  RECT bar{};
  ::GetWindowRect(dialog_->SpeedBar(), &bar);
  testbed::ClickAt({bar.right - 8, bar.top, bar.right - 2, bar.bottom});
  ASSERT_TRUE(Shows(Right(kSpeedValue), SpeedLook(L"2")));
  const int itemHeight = static_cast<int>(::SendMessageW(dialog_->List(), LB_GETITEMHEIGHT, 0, 0));
  testbed::ClickAt(SettingsDialog::OnScreen(dialog_->List(), {4, itemHeight + 1, 40, itemHeight - 2}));
  ASSERT_TRUE(PreviewShows(75, 100, kGreen, kRed));

  // At 144 dpi the pictures are stretched, so each shows its state by looking like another of the
  // same state: the selected options alike, the unselected ones alike, the kinds on alike.
  ASSERT_TRUE(ChangeDpi(144));
  auto shot = [](HWND panel, const At& at96) {
    const dialog::PixelRect r = dialog::ScaleRect({at96.left, at96.top, at96.width, at96.height}, 10, 10);
    return testbed::ScreenPixels(SettingsDialog::OnScreen(panel, {r.left, r.top, r.width, r.height}));
  };
  EXPECT_TRUE(testbed::PumpUntil(
      [&] {
        return shot(panels_.right, kRandomOption) == shot(panels_.right, kOwnSizeOption) &&
               shot(panels_.right, kSequentialOption) == shot(panels_.right, kFullScreenOption) &&
               shot(panels_.right, kRandomOption) != shot(panels_.right, kSequentialOption) &&
               shot(panels_.left, kKindBox[0]) == shot(panels_.left, kKindBox[3]) &&
               shot(panels_.left, kKindBox[0]) != shot(panels_.left, kKindBox[2]);
      },
      kDeadline));
  EXPECT_TRUE(PreviewShows(112, 150, kGreen, kRed, 40, 144));
  EXPECT_EQ(::SendMessageW(dialog_->List(), LB_GETCURSEL, 0, 0), 1);
  // Textured everywhere.
  const Pixels all = testbed::ScreenPixels(Main({0, 0, 824, 578}));
  EXPECT_EQ(std::count(all.begin(), all.end(), testbed::Rgb(128, 128, 128)), 0);

  // Back at 96 dpi everything is as it was before, to the pixel.
  ASSERT_TRUE(ChangeDpi(96));
  EXPECT_TRUE(Shows(Right(kRandomOption), optionOn_));
  EXPECT_EQ(testbed::ScreenPixels(Right(kOwnSizeOption)), optionOn_);
  EXPECT_EQ(testbed::ScreenPixels(Right(kSequentialOption)), optionOff_);
  EXPECT_TRUE(KindShows(2, false));
  EXPECT_TRUE(KindShows(3, true));
  EXPECT_TRUE(Shows(Right(kSpeedValue), SpeedLook(L"2")));
  EXPECT_TRUE(Lists({L"a.bmp", L"b.gif"}, L"2", pictures_.path()));
  EXPECT_TRUE(Shows(Left(kPreSize), testbed::LabelOverTile(tile_, kPreSize, L"300 * 400", dialog::kCentred)));
  EXPECT_TRUE(PreviewShows(75, 100, kGreen, kRed));
  EXPECT_EQ(::SendMessageW(dialog_->List(), LB_GETCURSEL, 0, 0), 1);
  // A frame that leaves more than Pic_C: the texture goes on beyond it, tile after tile.
  RECT window{};
  ::GetWindowRect(dialog_->window(), &window);
  ::SetWindowPos(dialog_->window(), nullptr, 0, 0, window.right - window.left + 30, window.bottom - window.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pixels beyond;
  for (int y = 0; y < 415; ++y) {
    for (int x = 549; x < 579; ++x)
      beyond.push_back(tile_.at((y % dialog::kTileHeight) * dialog::kTileWidth + x % dialog::kTileWidth));
  }
  EXPECT_TRUE(Shows(Main({549, 0, 30, 415}), beyond));
  testbed::ClickAt(Main(kSaveButton));
  ASSERT_TRUE(process_->WaitForExit(kDeadline));
  EXPECT_EQ(folder_.ReadBytes(L"Rubblit.ini"), Ini(L"1", L"0", pictures_.path(), L"1101", L"2"));
}

// A camera's photo previews at the box's size with its own size in the caption; clicks made in a row
// while photos load end on the last name's picture and caption.
TEST_F(DialogPicturesTest, PreviewsALargePhotoAndEndsQuickClicksOnTheLastName) {
  const std::string photo = testbed::JpegBytes(3200, 2400, testbed::TwoBands(kRed, kBlue, 2400), 90);
  pictures_.WriteBytes(L"a.jpg", photo);
  for (const wchar_t* name : {L"b1.jpg", L"b2.jpg", L"b3.jpg", L"b4.jpg", L"b5.jpg"}) pictures_.WriteBytes(name, photo);
  pictures_.WriteBytes(L"c.gif", testbed::GifBytes(300, 400, testbed::TwoBands(kGreen, kRed, 400)));
  // Wine sometimes gives a click the pointer's position of the click before, which then makes a
  // double click of the two on different lines; with this at 1 no two clicks make a double click.
  const wchar_t one[] = L"1";
  const RegistryValueScope height(HKEY_CURRENT_USER, L"Control Panel\\Mouse", L"DoubleClickHeight", REG_SZ, one,
                                  sizeof one);
  ASSERT_TRUE(Open(Ini(L"0", L"0", pictures_.path(), L"1111", L"1")));
  const int itemHeight = static_cast<int>(::SendMessageW(dialog_->List(), LB_GETITEMHEIGHT, 0, 0));
  auto click = [&](int line) {
    testbed::ClickAt(SettingsDialog::OnScreen(dialog_->List(), {4, line * itemHeight + 1, 40, itemHeight - 2}));
  };

  click(0);
  EXPECT_TRUE(Shows(Left(kPreSize), testbed::LabelOverTile(tile_, kPreSize, L"3200 * 2400", dialog::kCentred)));
  EXPECT_TRUE(PreviewShows(100, 75, kRed, kBlue));
  for (int line = 1; line <= 6; ++line) click(line);
  EXPECT_TRUE(Shows(Left(kPreSize), testbed::LabelOverTile(tile_, kPreSize, L"300 * 400", dialog::kCentred)));
  EXPECT_TRUE(PreviewShows(75, 100, kGreen, kRed));
  EXPECT_EQ(::SendMessageW(dialog_->List(), LB_GETCURSEL, 0, 0), 6);
}

class SettingsDialogDpiTest : public DialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(SettingsDialogDpiTest, PicCIsTheClientAreaOfTheCentredWindowAndTheChildWindowsTakeTheirScaledRectangles) {
  const DWORD dpi = static_cast<DWORD>(GetParam());
  // Wine reads the display dpi when a program starts.
  const RegistryValueScope dpiScope(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                                    sizeof dpi);
  ASSERT_TRUE(Open(Ini(L"0", L"0", L"", L"1111", L"1")));
  // The tables' arithmetic is dialog_layout_test's.
  EXPECT_TRUE(LaidOutAt(GetParam()));
  const int side = dialog::LayOutDialog(GetParam()).picK.width;
  EXPECT_TRUE(PreviewShows(side, side, kGrey, kGrey, 0, GetParam()));
  RECT window{};
  ::GetWindowRect(dialog_->window(), &window);
  EXPECT_EQ(window.left, (::GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, (::GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
}

INSTANTIATE_TEST_SUITE_P(Dpi, SettingsDialogDpiTest, ::testing::Values(96, 144));

}  // namespace
