// The settings dialog's pictures as a user meets them: the folder chosen in the shell's real
// browser, the kind check boxes, and the preview of a clicked file name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "wine/testbed/folder_browser.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

using testbed::At;
using testbed::Pixels;
using testbed::SettingsDialog;
using Lines = std::vector<std::wstring>;

constexpr DWORD kDeadline = 20000;
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kGrey = 0xE0E0E0;
// In the left panel's pixels; the buttons that close in Pic_C's.
constexpr At kFolderButton{16, 44, 101, 17}, kCount{128, 44, 33, 17}, kFolderPath{12, 300, 285, 17};
constexpr At kPreSize{192, 36, 101, 13}, kClearButton{196, 272, 97, 17};
constexpr At kKindBox[4] = {{208, 188, 12, 12}, {208, 208, 12, 12}, {208, 228, 12, 12}, {208, 248, 12, 12}};
constexpr At kJpgCaption{224, 228, 25, 13}, kSaveButton{340, 320, 93, 17}, kCancelButton{440, 320, 93, 17};

std::string Bands(int width, int height, std::uint32_t top, std::uint32_t bottom) {
  return testbed::BmpBytes(width, height, 24, testbed::TwoBands(top, bottom, height));
}

// JPEG's colours come back near, not exact.
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40) return false;
  }
  return true;
}

class DialogPicturesTest : public testbed::SaverTest {
 protected:
  testbed::TempFolder folder_, pictures_;
  std::wstring saver_ = folder_.CopySaverHere();
  std::optional<testbed::SaverProcess> process_;
  std::optional<SettingsDialog> dialog_;
  testbed::DialogPanels panels_;

  void TearDown() override {
    if (dialog_ && dialog_->window()) ::PostMessageW(dialog_->window(), WM_CLOSE, 0, 0);
    if (process_) process_->WaitForExit(kDeadline);
  }
  std::string Settings(const std::wstring& folder, const std::wstring& kinds) const {
    return testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", folder, kinds, L"1"));
  }
  void Open(const std::wstring& folder) {
    folder_.WriteBytes(L"Rubblit.ini", Settings(folder, L"1111"));
    process_.emplace(saver_, L"/c");
    dialog_.emplace(*process_);
    ASSERT_NE(dialog_->window(), nullptr);
    panels_ = dialog_->FindPanels();
  }
  RECT Left(const At& at) const { return SettingsDialog::OnScreen(panels_.left, at); }
  Pixels Skin(int id) const { return testbed::SkinPicture(saver_, id); }

  bool Choose(const std::wstring& folder) const {
    return testbed::ChooseFolderInBrowser(dialog_->window(), process_->id(), Left(kFolderButton), folder);
  }
  // The list, the count and the folder field, waited for; the labels as the dialog draws them.
  bool Shows(const Lines& lines, const std::wstring& count, const std::optional<std::wstring>& folder = {}) const {
    const Pixels tile = Skin(IDR_SKIN_TILE);
    const Pixels countLook = testbed::LabelOverTile(tile, kCount, count, DT_RIGHT, true);
    const Pixels folderLook = testbed::LabelOverTile(tile, kFolderPath, folder.value_or(L""), DT_LEFT, true);
    return testbed::PumpUntil(
        [&] {
          return dialog_->ListLines() == lines && testbed::ScreenPixels(Left(kCount)) == countLook &&
                 (!folder || testbed::ScreenPixels(Left(kFolderPath)) == folderLook);
        },
        kDeadline);
  }
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

TEST_F(DialogPicturesTest, FolderChoiceListsInScanOrderAndTheKindTogglesListItAgainSorted) {
  pictures_.WriteBytes(L"b.bmp", Bands(4, 4, kRed, kBlue));
  pictures_.WriteBytes(L"a.gif", testbed::GifBytes(4, 4, testbed::TwoBands(kRed, kBlue, 4)));
  pictures_.WriteBytes(L"r.jpg", Bands(4, 4, kRed, kBlue));
  pictures_.WriteBytes(L"notes.txt", "text");
  ::SetFileAttributesW(pictures_.File(L"r.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
  testbed::TempFolder empty;
  Open(L"");
  ASSERT_TRUE(Choose(empty.path()));
  EXPECT_TRUE(Shows({}, L"0", empty.path()));
  // Archive files pass before read-only ones, bmp before gif.
  ASSERT_TRUE(Choose(pictures_.path()));
  EXPECT_TRUE(Shows({L"b.bmp", L"a.gif", L"r.jpg"}, L"3", pictures_.path()));

  // Cancel, and the computer, which is no folder on disk, keep it all; the browser shows the
  // dialog's request in wide characters.
  for (bool computer : {false, true}) {
    testbed::ClickAt(Left(kFolderButton));
    testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
    const Lines texts = browser.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), L"ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください"), 1);
    ASSERT_TRUE(!computer || browser.SelectComputer());
    browser.Press(computer ? IDOK : IDCANCEL);
    ASSERT_TRUE(testbed::PumpUntil([&] { return !testbed::FolderBrowser::Find(dialog_->window()); }, kDeadline));
    EXPECT_TRUE(Shows({L"b.bmp", L"a.gif", L"r.jpg"}, L"3", pictures_.path())) << computer;
  }

  // The caption with the right button, the box with the left.
  testbed::ClickAt(Left(kJpgCaption), VK_RBUTTON);
  EXPECT_TRUE(KindShows(2, false));
  EXPECT_TRUE(Shows({L"a.gif", L"b.bmp"}, L"2"));
  testbed::ClickAt(Left(kKindBox[2]));
  EXPECT_TRUE(KindShows(2, true));
  EXPECT_TRUE(Shows({L"a.gif", L"b.bmp", L"r.jpg"}, L"3"));

  // A folder deleted after its choice, and no folder at all: only the flag and its box change.
  const std::wstring gone = pictures_.File(L"gone");
  ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
  pictures_.WriteBytes(L"gone\\g.bmp", Bands(4, 4, kRed, kBlue));
  ASSERT_TRUE(Choose(gone));
  ASSERT_TRUE(Shows({L"g.bmp"}, L"1"));
  ::DeleteFileW((gone + L"\\g.bmp").c_str());
  ASSERT_TRUE(testbed::PumpUntil([&] { return ::RemoveDirectoryW(gone.c_str()) != 0; }, kDeadline));
  testbed::ClickAt(Left(kKindBox[0]));
  EXPECT_TRUE(KindShows(0, false));
  EXPECT_TRUE(Shows({L"g.bmp"}, L"1", gone));
  testbed::ClickAt(Left(kClearButton));
  ASSERT_TRUE(Shows({}, L"", L""));
  testbed::ClickAt(Left(kKindBox[1]));
  EXPECT_TRUE(KindShows(1, false));
  EXPECT_TRUE(Shows({}, L""));
  ::SetFileAttributesW(pictures_.File(L"r.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(SavedAfter(kCancelButton), Settings(L"", L"1111"));
}

TEST_F(DialogPicturesTest, WhileTheScanRunsTheFolderButtonClearAndTogglesAreIgnored) {
  for (const wchar_t* name : {L"b.bmp", L"a.gif"}) pictures_.WriteBytes(name, Bands(4, 4, kRed, kBlue));
  Open(L"");
  testbed::ClickAt(Left(kFolderButton));
  testbed::FolderBrowser browser(dialog_->window(), process_->id(), kDeadline);
  ASSERT_TRUE(browser.Select(pictures_.path()));
  // Queued behind the OK, the scan's own message handling delivers them.
  ::PostMessageW(browser.window(), WM_COMMAND, IDOK, 0);
  for (const At& at : {kFolderButton, kKindBox[1], kClearButton}) {
    const LPARAM point = MAKELPARAM(at.left + at.width / 2, at.top + at.height / 2);
    ::PostMessageW(panels_.left, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(panels_.left, WM_LBUTTONUP, 0, point);
  }
  EXPECT_TRUE(Shows({L"b.bmp", L"a.gif"}, L"2", pictures_.path()));
  EXPECT_TRUE(KindShows(1, true));
  EXPECT_EQ(testbed::FolderBrowser::Find(dialog_->window()), nullptr);
  EXPECT_EQ(SavedAfter(kSaveButton), Settings(pictures_.path(), L"1111"));
}

TEST_F(DialogPicturesTest, AClickedNameShowsItsSizeAndAFittedCopyOrTheEmptyBox) {
  const std::string gif = testbed::GifBytes(40, 30, testbed::TwoBands(kRed, kBlue, 30));
  const struct {
    std::wstring name;
    std::string bytes;
    const wchar_t* size;  // empty: the file cannot be shown
    int width, height;
    std::uint32_t top, bottom;
  } cases[] = {
      {L"wide.bmp", Bands(640, 480, kRed, kBlue), L"640 * 480", 100, 75, kRed, kBlue},
      {L"cut.bmp", Bands(64, 64, kRed, kBlue).substr(0, 2000), L"", 100, 100, kGrey, kGrey},
      {L"縦 長い.gif", testbed::GifBytes(300, 400, testbed::TwoBands(kGreen, kRed, 400)), L"300 * 400", 75, 100,
       kGreen, kRed},
      {L"lying.gif", testbed::WithGifScreenSize(gif, 30000, 30000), L"", 100, 100, kGrey, kGrey},
      {std::wstring(196, L'n') + L".jpg", testbed::JpegBytes(50, 50, testbed::TwoBands(kBlue, kRed, 50)), L"50 * 50",
       100, 100, kBlue, kRed},
      {L"huge.bmp", testbed::BmpClaimingSize(30000, 30000), L"", 100, 100, kGrey, kGrey},
      {L"strip.bmp", Bands(1000, 10, kRed, kBlue), L"1000 * 10", 100, 1, 0, 0},
      {L"notes.jpg", "This is not a picture.\r\n", L"", 100, 100, kGrey, kGrey},
  };
  for (const auto& c : cases) pictures_.WriteBytes(c.name, c.bytes);
  Open(pictures_.path());
  const Lines lines = dialog_->ListLines();
  ASSERT_EQ(lines.size(), std::size(cases));
  const int itemHeight = static_cast<int>(::SendMessageW(dialog_->List(), LB_GETITEMHEIGHT, 0, 0));
  const Pixels tile = Skin(IDR_SKIN_TILE);
  auto system = [](int index) {
    const COLORREF c = ::GetSysColor(index);
    return testbed::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name.size() << " characters, " << c.width << " x " << c.height);
    const int line = static_cast<int>(std::find(lines.begin(), lines.end(), c.name) - lines.begin());
    testbed::ClickAt(SettingsDialog::OnScreen(dialog_->List(), 4, line * itemHeight + 1, 40, itemHeight - 2));
    // Pic_K keeps its corner, takes the fitted size, shows again; then the two bands or light grey.
    const Pixels sizeLook = testbed::LabelOverTile(tile, kPreSize, c.size, DT_CENTER, false);
    Pixels box;
    auto at = [&](int x, int y) { return box.values.at(static_cast<std::size_t>(y * box.width + x)); };
    EXPECT_TRUE(testbed::PumpUntil(
        [&] {
          const RECT rect = SettingsDialog::RelativeTo(panels_.picK, panels_.left);
          box = testbed::ScreenPixels(SettingsDialog::OnScreen(panels_.picK, 0, 0, c.width, c.height));
          return ::IsWindowVisible(panels_.picK) && rect.left == 192 && rect.top == 52 &&
                 rect.right == 192 + c.width && rect.bottom == 52 + c.height &&
                 testbed::ScreenPixels(Left(kPreSize)) == sizeLook &&
                 (c.height < 8 || (Near(at(c.width / 2, 3), c.top) && Near(at(c.width / 2, c.height - 4), c.bottom)));
        },
        kDeadline));
    if (c.height < 8) continue;
    EXPECT_EQ(at(0, 0), system(COLOR_3DLIGHT));
    EXPECT_EQ(at(1, 1), system(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(c.width - 1, c.height - 1), system(COLOR_3DDKSHADOW));
    EXPECT_EQ(at(c.width - 2, c.height - 2), system(COLOR_BTNSHADOW));
  }
}

}  // namespace
