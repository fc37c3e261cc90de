#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "forms/directory.h"
#include "forms/handles.h"
#include "settings/settings_file.h"
#include "wine/testbed/temp_folder.h"

namespace {

// The key names in Shift_JIS, spelled out so that the test does not share the conversion under test.
const std::string kChangeSjis = "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE";
const std::string kSizeSjis = "\x89\xE6\x91\x9C\x82\xCC\xBB\xB2\xBD\xDE";
const std::string kFolderSjis = "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE";
const std::string kKindSjis = "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_";
const std::string kSpeedSjis = "\x91\xAC\x82\xB3";

// Whether a blank in front of a value survives is the platform's choice; the tests look past it.
std::string WithoutBlankAfterEquals(std::string text) {
  for (std::size_t at = text.find("= "); at != std::string::npos; at = text.find("= ", at)) text.erase(at + 1, 1);
  return text;
}

// A program folder, named in Japanese with 表 and 十, whose trail byte in Shift_JIS is 0x5C, the
// backslash, and a user folder, as the program finds them when installed.
struct Installation {
  testbed::TempFolder root;
  std::wstring program = root.File(L"写真ﾌｫﾙﾀﾞ表十");
  std::wstring besideProgram = program + L"\\Rubblit.ini";
  std::wstring userFile = root.File(L"appdata\\Rubblit\\Rubblit.ini");
  Installation() {
    ::CreateDirectoryW(program.c_str(), nullptr);
    ::CreateDirectoryW(root.File(L"appdata").c_str(), nullptr);
  }
  // The settings one start of the program loads.
  SettingsRecord Start() const {
    SettingsFile file(besideProgram, userFile);
    forms::FileSystemDirectory reader;
    CommonModule common;
    LoadSettings(common, file, reader);
    return common.settings;
  }
  // What a dialog of one start saves.
  void Save(SettingsRecord settings) const {
    SettingsFile file(besideProgram, userFile);
    SaveSettings(settings, settings.ImageFolder, settings.Speed, file);
  }
  std::string BesideProgramBytes() const { return root.ReadBytes(L"写真ﾌｫﾙﾀﾞ表十\\Rubblit.ini"); }
};

bool SameSettings(const SettingsRecord& a, const SettingsRecord& b) {
  return a.ChangeOrder == b.ChangeOrder && a.ImageSize == b.ImageSize && a.ImageKind == b.ImageKind &&
         a.ImageFolder == b.ImageFolder && a.Speed == b.Speed;
}

TEST(SettingsFile, TheKeysAreSavedInShiftJisInSaveOrderBesideTheProgramAndLoadBack) {
  Installation installed;
  const SettingsRecord chosen{1, 0, {0, 1, 2, -1}, installed.program, 2};
  installed.Save(chosen);
  // The temporary folders' paths are ASCII.
  const std::string root(installed.root.path().begin(), installed.root.path().end());
  const std::string expected = "[Section]\r\n" + kChangeSjis + "=1\r\n" + kSizeSjis + "=0\r\n" + kFolderSjis + "=" +
                               root + "\\\x8E\xCA\x90\x5E\xCC\xAB\xD9\xC0\xDE\x95\x5C\x8F\x5C\r\n" + kKindSjis +
                               "0=0\r\n" + kKindSjis + "1=1\r\n" + kKindSjis + "2=2\r\n" + kKindSjis + "3=-1\r\n" +
                               kSpeedSjis + "=2\r\n";
  EXPECT_EQ(WithoutBlankAfterEquals(installed.BesideProgramBytes()), expected);
  EXPECT_FALSE(installed.root.Exists(L"appdata\\Rubblit"));
  EXPECT_TRUE(SameSettings(installed.Start(), chosen));
}

TEST(SettingsFile, AWriteRefusedBesideTheProgramGoesToTheUsersFileWhichIsReadAndWrittenFromThenOn) {
  // A file beside the program that another program holds open for reading only: read until the
  // first save, then kept as it was while the user's file takes over, even once it can be written.
  Installation installed;
  const std::string earlier = "[Section]\r\n" + kSpeedSjis + "=2\r\n" + kFolderSjis + "=C:\\Old\r\n";
  installed.root.WriteBytes(L"写真ﾌｫﾙﾀﾞ表十\\Rubblit.ini", earlier);
  {
    forms::KernelHandle held(::CreateFileW(installed.besideProgram.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.get());
    EXPECT_EQ(installed.Start().Speed, 2);
    installed.Save({1, 1, {1, 0, 1, 0}, installed.root.path(), 3});
  }
  const SettingsRecord chosen{0, 1, {1, 1, 1, 0}, installed.root.path(), 1};
  installed.Save(chosen);
  EXPECT_EQ(installed.BesideProgramBytes(), earlier);
  EXPECT_TRUE(SameSettings(installed.Start(), chosen));
}

TEST(ReadIniValue, IsCutTo255BytesNeverInsideACharacterAndEmptyForAFileNotYetMade) {
  testbed::TempFolder folder;
  // 254 single bytes, then double-byte characters: byte 255 is the first half of one.
  std::string japanese = std::string(254, 'b');
  for (int i = 0; i < 10; ++i) japanese += "\x82\xA0";
  folder.WriteBytes(L"Rubblit.ini", "[Section]\r\nlong=" + std::string(300, 'a') + "\r\nmixed=" + japanese + "\r\n");
  const std::wstring ini = folder.File(L"Rubblit.ini");
  EXPECT_EQ(ReadIniValue("Section", "long", ini), std::wstring(255, L'a'));
  EXPECT_EQ(ReadIniValue("Section", "mixed", ini), std::wstring(254, L'b'));
  EXPECT_EQ(ReadIniValue("Section", "long", folder.File(L"none.ini")), L"");
  EXPECT_FALSE(folder.Exists(L"none.ini"));
}

}  // namespace
