#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_path.h"
#include "native/fake_directory.h"

namespace {

// The key names as the file holds them, in Shift_JIS: 画像ﾁｪﾝｼﾞ, 画像のｻｲｽﾞ, 画像のﾌｫﾙﾀﾞ, 速さ, 画像種類_0 to 3.
const std::string kChange = "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE", kSize = "\x89\xE6\x91\x9C\x82\xCC\xBB\xB2\xBD\xDE",
                  kFolder = "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE", kSpeed = "\x91\xAC\x82\xB3";
const std::string kKind[] = {"\x89\xE6\x91\x9C\x8E\xED\x97\xDE_0", "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_1",
                             "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_2", "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_3"};

// The settings file as a map from key to value text.
class FakeProfile : public ProfileFile {
 public:
  std::map<std::string, std::wstring> values;

  std::wstring ReadIniValue(const std::string& section, const std::string& key) override {
    auto found = values.find(key);
    return section == "Section" && found != values.end() ? found->second : std::wstring();
  }
  void WriteIniValue(const std::string&, const std::string&, const std::wstring&) override {}
};

struct Loaded {
  CommonModule common;
  FakeProfile file;
  FakeDirectory reader;
  void Load() { LoadSettings(common, file, reader); }
};

TEST(LoadSettings, AMissingFileGivesTheDefaultsWhateverTheRecordHeld) {
  Loaded l;
  l.common.settings = {7, 7, {7, 7, 7, 7}, L"D:\\old", 7};
  l.common.images.ImageCount = 3;
  l.Load();
  const SettingsRecord& s = l.common.settings;
  EXPECT_EQ(s.ChangeOrder, 0);
  EXPECT_EQ(s.ImageSize, 0);
  EXPECT_EQ(s.ImageKind, (std::array<std::int16_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(s.ImageFolder, L"");
  EXPECT_EQ(s.Speed, 1);
  EXPECT_EQ(l.common.images.ImageCount, 0);
  EXPECT_TRUE(l.reader.searches.empty());
}

TEST(LoadSettings, TakesAHandEditedNumberWithoutARangeCheckAndKeepsTheFieldForOneThatIsNoNumber) {
  const std::pair<const wchar_t*, std::int16_t> cases[] = {{L" 3", 3},    {L"2.9", 2}, {L"-2", -2},
                                                           {L"300", 300}, {L"abc", 9}, {L"40000", 9}};
  for (const auto& [text, expected] : cases) {
    Loaded l;
    l.common.settings = {9, 9, {9, 9, 9, 9}, L"", 9};
    for (const std::string& key : {kChange, kSize, kKind[0], kKind[1], kKind[2], kKind[3], kSpeed})
      l.file.values[key] = text;
    l.Load();
    const SettingsRecord& s = l.common.settings;
    EXPECT_EQ(s.ChangeOrder, expected) << text;
    EXPECT_EQ(s.ImageSize, expected) << text;
    EXPECT_EQ(s.ImageKind, (std::array<std::int16_t, 4>{expected, expected, expected, expected})) << text;
    EXPECT_EQ(s.Speed, expected) << text;
  }
}

TEST(LoadSettings, ScansAnExistingFolderWithTheKindsThatAreExactlyOneAndForgetsAGoneOneUnscanned) {
  Loaded l;
  l.reader.Add(L"C:\\Pics", L".", kDirectory);
  for (const wchar_t* name : {L"b.gif", L"a.bmp", L"c.jpg", L"d.wmf"}) l.reader.Add(L"C:\\Pics", name, kArchive);
  l.file.values = {{kFolder, L"C:\\Pics"}, {kKind[0], L"2"}, {kKind[3], L"0"}};
  l.Load();
  EXPECT_EQ(l.common.settings.ImageFolder, L"C:\\Pics");
  ASSERT_EQ(l.common.images.ImageCount, 2);
  EXPECT_EQ(l.common.images.ImageFiles[1], L"C:\\Pics\\b.gif");
  EXPECT_EQ(l.common.images.ImageFiles[2], L"C:\\Pics\\c.jpg");

  l.file.values[kFolder] = L"C:\\Gone";
  l.reader.searches.clear();
  l.Load();
  EXPECT_EQ(l.common.settings.ImageFolder, L"");
  EXPECT_EQ(l.common.images.ImageCount, 0);
  EXPECT_EQ(l.reader.searches, std::vector<std::wstring>{L"C:\\Gone\\*.*"});
}

TEST(SettingsFilePathFor, TheFileLiesInTheProgramsFolder) {
  EXPECT_EQ(SettingsFilePathFor(L"C:\\Windows\\System32\\rubblit.scr"), L"C:\\Windows\\System32\\Rubblit.ini");
  EXPECT_EQ(SettingsFilePathFor(L"C:\\rubblit.scr"), L"C:\\\\Rubblit.ini");
}

}  // namespace
