// The settings dialog's pictures as a user meets them: choosing the folder in the shell's real
// browser, the kind check boxes, and the preview of a clicked file name.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "wine/testbed/folder_browser.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

using testbed::At;
using testbed::Pixels;
using testbed::SettingsDialog;
using Lines = std::vector<std::wstring>;

constexpr DWORD kDeadline = 20000;
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00;

// In the left panel's pixels at 96 dpi.
constexpr At kFolderButton{16, 44, 101, 17}, kCount{128, 44, 33, 17}, kFolderPath{12, 300, 285, 17};
constexpr At kPreSize{192, 36, 101, 13}, kClearButton{196, 272, 97, 17};
constexpr At kKindBox[4] = {{208, 188, 12, 12}, {208, 208, 12, 12}, {208, 228, 12, 12}, {208, 248, 12, 12}};
constexpr At kKindCaption[4] = {{224, 188, 32, 13}, {224, 208, 23, 13}, {224, 228, 25, 13}, {224, 248, 32, 13}};
constexpr POINT kPicK{192, 52};
// In Pic_C's.
constexpr At kSaveButton{340, 320, 93, 17}, kCancelButton{440, 320, 93, 17};

// JPEG's colours come back near, not exact.
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference > 40 || difference < -40) return false;
  }
  return true;
}

std::string Picture(int width, int height, std::uint32_t top, std::uint32_t bottom) {
  return testbed::BmpBytes(width, height, 24, testbed::TwoBands(top, bottom, height));
}

class DialogPicturesTest : public ::testing::Test {
 protected:
  testbed::TempFolder folder_;
  std::wstring saver_ = folder_.CopySaverHere();
  testbed::TempFolder pictures_;
  std::optional<testbed::SaverProcess> process_;
  std::optional<SettingsDialog> dialog_;
  testbed::DialogPanels panels_;

  void TearDown() override {
    if (dialog_ && dialog_->window()) ::PostMessageW(dialog_->window(), WM_CLOSE, 0, 0);
    if (process_) process_->WaitForExit(kDeadline);
  }

  void Open(const std::wstring& folder, const std::wstring& kinds) {
    folder_.WriteBytes(L"Rubblit.ini",
                       testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", folder, kinds, L"1")));
    process_.emplace(saver_, L"/c");
    dialog_.emplace(*process_);
    ASSERT_NE(dialog_->window(), nullptr);
    panels_ = dialog_->FindPanels();
    ASSERT_NE(panels_.picK, nullptr);
  }

  RECT Left(const At& at) const { return SettingsDialog::OnScreen(panels_.left, at); }
  Pixels Skin(int id) const { return testbed::SkinPicture(saver_, id); }

  bool Choose(const std::wstring& folder) const {
    return testbed::ChooseFolderInBrowser(dialog_->window(), process_->id(), Left(kFolderButton), folder);
  }
  bool ListShows(const Lines& lines) const {
    return testbed::PumpUntil([&] { return dialog_->ListLines() == lines; }, kDeadline);
  }
  // A label of the left panel shows text, drawn as the dialog draws it.
  bool LabelShows(const At& label, const std::wstring& text, UINT format, bool border) const {
    const Pixels expected = testbed::LabelOverTile(Skin(IDR_SKIN_TILE), label, text, format, border);
    return testbed::PumpUntil([&] { return testbed::ScreenPixels(Left(label)) == expected; }, kDeadline);
  }
  bool CountShows(const std::wstring& text) const { return LabelShows(kCount, text, DT_RIGHT, true); }
  bool FolderShows(const std::wstring& text) const { return LabelShows(kFolderPath, text, DT_LEFT, true); }
  bool KindShows(int kind, bool on) const {
    const Pixels look = Skin(on ? IDR_SKIN_CHECK_ON : IDR_SKIN_CHECK_OFF);
    return testbed::PumpUntil([&] { return testbed::ScreenPixels(Left(kKindBox[kind])) == look; }, kDeadline);
  }
  std::string SavedAfter(const At& button) {
    testbed::ClickAt(SettingsDialog::OnScreen(panels_.picC, button));
    EXPECT_TRUE(process_->WaitForExit(kDeadline));
    return folder_.ReadBytes(L"Rubblit.ini");
  }
};

TEST_F(DialogPicturesTest, FolderChoiceListsInScanOrderAndCancelOrAVirtualItemKeepsEverything) {
  pictures_.WriteBytes(L"b.bmp", Picture(4, 4, kRed, kBlue));
  pictures_.WriteBytes(L"a.gif", testbed::GifBytes(4, 4, testbed::TwoBands(kRed, kBlue, 4)));
  pictures_.WriteBytes(L"r.jpg", testbed::JpegBytes(4, 4, testbed::TwoBands(kRed, kBlue, 4)));
  ::SetFileAttributesW(pictures_.File(L"r.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
  pictures_.WriteBytes(L"notes.txt", "text");
  testbed::TempFolder empty, first;
  first.WriteBytes(L"x.bmp", Picture(4, 4, kRed, kBlue));
  Open(first.path(), L"1111");
  ASSERT_TRUE(ListShows({L"x.bmp"}));

  // The browser shows the dialog's request, written in wide characters.
  testbed::ClickAt(Left(kFolderButton));
  testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
  ASSERT_NE(browser.window(), nullptr);
  const Lines texts = browser.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください"), texts.end());
  ASSERT_TRUE(browser.Select(empty.path()));
  browser.Press(IDOK);
  EXPECT_TRUE(ListShows({}));
  EXPECT_TRUE(CountShows(L"0"));
  EXPECT_TRUE(FolderShows(empty.path()));

  // Archive files pass before read-only ones; bmp before gif; not sorted.
  ASSERT_TRUE(Choose(pictures_.path()));
  EXPECT_TRUE(ListShows({L"b.bmp", L"a.gif", L"r.jpg"}));
  EXPECT_TRUE(CountShows(L"3"));
  EXPECT_TRUE(FolderShows(pictures_.path()));

  // Cancel, and the computer, which is no folder on disk, leave it all as it was.
  for (bool computer : {false, true}) {
    testbed::ClickAt(Left(kFolderButton));
    testbed::FolderBrowser again(dialog_->window(), process_->id(), kDeadline);
    ASSERT_NE(again.window(), nullptr);
    if (computer) {
      ASSERT_TRUE(again.SelectComputer());
    }
    again.Press(computer ? IDOK : IDCANCEL);
    ASSERT_TRUE(testbed::PumpUntil([&] { return !testbed::FolderBrowser::Find(dialog_->window()); }, kDeadline));
    EXPECT_TRUE(ListShows({L"b.bmp", L"a.gif", L"r.jpg"})) << computer;
    EXPECT_TRUE(CountShows(L"3")) << computer;
    EXPECT_TRUE(FolderShows(pictures_.path())) << computer;
  }
  ::SetFileAttributesW(pictures_.File(L"r.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);

  // "設定" writes the chosen folder; after another choice "ｷｬﾝｾﾙ" writes nothing.
  const std::string saved = SavedAfter(kSaveButton);
  EXPECT_EQ(saved, testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", pictures_.path(), L"1111", L"1")));
  process_.reset();
  dialog_.reset();
  Open(pictures_.path(), L"1111");
  ASSERT_TRUE(Choose(first.path()));
  ASSERT_TRUE(ListShows({L"x.bmp"}));
  EXPECT_EQ(SavedAfter(kCancelButton), testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", pictures_.path(), L"1111", L"1")));
}

TEST_F(DialogPicturesTest, KindTogglesListTheShownFolderAgainSortedOrChangeOnlyTheirFlag) {
  for (const wchar_t* name : {L"c.jpg", L"b.bmp", L"a.gif"}) pictures_.WriteBytes(name, Picture(4, 4, kRed, kBlue));
  Open(pictures_.path(), L"1111");
  ASSERT_TRUE(ListShows({L"a.gif", L"b.bmp", L"c.jpg"}));
  ASSERT_TRUE(Choose(pictures_.path()));
  ASSERT_TRUE(ListShows({L"b.bmp", L"a.gif", L"c.jpg"}));

  // Caption with the right button, check box with the left: the list comes back sorted.
  testbed::ClickAt(Left(kKindCaption[2]), VK_RBUTTON);
  EXPECT_TRUE(KindShows(2, false));
  EXPECT_TRUE(ListShows({L"a.gif", L"b.bmp"}));
  EXPECT_TRUE(CountShows(L"2"));
  testbed::ClickAt(Left(kKindBox[2]));
  EXPECT_TRUE(KindShows(2, true));
  EXPECT_TRUE(ListShows({L"a.gif", L"b.bmp", L"c.jpg"}));
  EXPECT_TRUE(CountShows(L"3"));

  // A folder deleted after its choice: only the flag and its picture change.
  const std::wstring gone = pictures_.File(L"gone");
  ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
  pictures_.WriteBytes(L"gone\\g.bmp", Picture(4, 4, kRed, kBlue));
  ASSERT_TRUE(Choose(gone));
  ASSERT_TRUE(ListShows({L"g.bmp"}));
  ::DeleteFileW((gone + L"\\g.bmp").c_str());
  ASSERT_TRUE(testbed::PumpUntil([&] { return ::RemoveDirectoryW(gone.c_str()) != 0; }, kDeadline)) << ::GetLastError();
  testbed::ClickAt(Left(kKindBox[0]));
  EXPECT_TRUE(KindShows(0, false));
  EXPECT_TRUE(ListShows({L"g.bmp"}));
  EXPECT_TRUE(CountShows(L"1"));

  // With no folder shown, likewise.
  testbed::ClickAt(Left(kClearButton));
  ASSERT_TRUE(ListShows({}));
  testbed::ClickAt(Left(kKindCaption[1]));
  EXPECT_TRUE(KindShows(1, false));
  EXPECT_TRUE(ListShows({}));
  EXPECT_TRUE(CountShows(L""));
  EXPECT_EQ(SavedAfter(kSaveButton), testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", L"", L"0011", L"1")));
}

TEST_F(DialogPicturesTest, AFolderButtonClearOrToggleDuringTheScanIsIgnored) {
  for (const wchar_t* name : {L"b.bmp", L"a.gif"}) pictures_.WriteBytes(name, Picture(4, 4, kRed, kBlue));
  Open(L"", L"1111");
  testbed::ClickAt(Left(kFolderButton));
  testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
  ASSERT_TRUE(browser.Select(pictures_.path()));
  // Queued behind the OK, so that the scan's own message handling delivers them.
  ::PostMessageW(browser.window(), WM_COMMAND, IDOK, 0);
  for (const At& at : {kFolderButton, kKindBox[1], kClearButton}) {
    const LPARAM point = MAKELPARAM(at.left + at.width / 2, at.top + at.height / 2);
    ::PostMessageW(panels_.left, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(panels_.left, WM_LBUTTONUP, 0, point);
  }
  EXPECT_TRUE(ListShows({L"b.bmp", L"a.gif"}));
  EXPECT_TRUE(FolderShows(pictures_.path()));
  EXPECT_TRUE(KindShows(1, true));
  EXPECT_EQ(testbed::FolderBrowser::Find(dialog_->window()), nullptr);
}

TEST_F(DialogPicturesTest, AClickedNameShowsItsSizeAndAFittedCopyOrTheEmptyBox) {
  const std::wstring longName = std::wstring(196, L'n') + L".jpg";
  struct Case {
    std::wstring name;
    std::string bytes;
    const wchar_t* size;  // nullptr: nothing can be shown
    int boxWidth, boxHeight;
    std::uint32_t top, bottom;
  };
  const std::string gif = testbed::GifBytes(40, 30, testbed::TwoBands(kRed, kBlue, 30));
  const Case cases[] = {
      {L"wide.bmp", Picture(640, 480, kRed, kBlue), L"640 * 480", 100, 75, kRed, kBlue},
      {L"cut.bmp", testbed::Truncated(Picture(64, 64, kRed, kBlue), 2000), nullptr, 100, 100, 0, 0},
      {L"縦 長い.gif", testbed::GifBytes(300, 400, testbed::TwoBands(kGreen, kYellow, 400)), L"300 * 400", 75, 100,
       kGreen, kYellow},
      {L"lying.gif", testbed::WithGifScreenSize(gif, 30000, 30000), nullptr, 100, 100, 0, 0},
      {longName, testbed::JpegBytes(50, 50, testbed::TwoBands(kBlue, kRed, 50)), L"50 * 50", 100, 100, kBlue, kRed},
      {L"huge.bmp", testbed::BmpClaimingSize(30000, 30000), nullptr, 100, 100, 0, 0},
      {L"strip.bmp", Picture(1000, 10, kRed, kBlue), L"1000 * 10", 100, 1, 0, 0},
      {L"notes.jpg", "This is not a picture.\r\n", nullptr, 100, 100, 0, 0},
  };
  for (const Case& c : cases) pictures_.WriteBytes(c.name, c.bytes);
  Open(pictures_.path(), L"1111");
  HWND list = dialog_->List();
  const Lines lines = dialog_->ListLines();
  ASSERT_EQ(lines.size(), std::size(cases));
  RECT listClient{};
  ::GetClientRect(list, &listClient);
  const int itemHeight = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  auto system = [](int index) {
    const COLORREF c = ::GetSysColor(index);
    return testbed::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name.size() << " characters, size " << (c.size ? "shown" : "none"));
    const int index = static_cast<int>(std::find(lines.begin(), lines.end(), c.name) - lines.begin());
    ASSERT_LT(index, static_cast<int>(lines.size()));
    testbed::ClickAt(SettingsDialog::OnScreen(list, 4, index * itemHeight + 1, 40, itemHeight - 2));
    // The box takes its new size while hidden and shows again when it is drawn.
    ASSERT_TRUE(testbed::PumpUntil(
        [&] {
          RECT box = SettingsDialog::RelativeTo(panels_.picK, panels_.left);
          return ::IsWindowVisible(panels_.picK) && box.left == kPicK.x && box.top == kPicK.y &&
                 box.right - box.left == c.boxWidth && box.bottom - box.top == c.boxHeight;
        },
        kDeadline));
    EXPECT_TRUE(LabelShows(kPreSize, c.size ? c.size : L"", DT_CENTER, false));
    if (c.boxHeight < 8) continue;
    // Inside the raised edge the picture's two bands, or the empty light grey.
    const std::uint32_t top = c.size ? c.top : testbed::Rgb(224, 224, 224);
    const std::uint32_t bottom = c.size ? c.bottom : testbed::Rgb(224, 224, 224);
    Pixels box;
    auto at = [&](int x, int y) { return box.values.at(static_cast<std::size_t>(y * box.width + x)); };
    EXPECT_TRUE(testbed::PumpUntil(
        [&] {
          box = testbed::ScreenPixels(SettingsDialog::OnScreen(panels_.picK, 0, 0, c.boxWidth, c.boxHeight));
          return Near(at(c.boxWidth / 2, 3), top) && Near(at(c.boxWidth / 2, c.boxHeight - 4), bottom);
        },
        kDeadline));
    EXPECT_EQ(at(0, 0), system(COLOR_3DLIGHT));
    EXPECT_EQ(at(1, 1), system(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(c.boxWidth - 1, c.boxHeight - 1), system(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(c.boxWidth - 2, c.boxHeight - 2), system(COLOR_BTNSHADOW));
  }
}

}  // namespace
