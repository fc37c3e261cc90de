#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "startup/settings_file.h"
#include "wine/testbed/temp_folder.h"

namespace {

using testbed::TempFolder;

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

// Says every folder exists and holds nothing, so that loading keeps the folder text.
class EveryFolderExists : public DirectoryReader {
 public:
  bool FindNames(const std::wstring& pattern, bool, const std::function<bool(const std::wstring&)>& onName) override {
    if (pattern.size() >= 3 && pattern.compare(pattern.size() - 3, 3, L"*.*") == 0) onName(L".");
    return true;
  }
  std::optional<std::uint32_t> FileAttributes(const std::wstring&) override { return std::nullopt; }
};

TEST(SettingsFile, ANewFileHoldsTheKeysInShiftJisInSaveOrder) {
  TempFolder folder;
  SettingsFile file(folder.File(L"Rubblit.ini"));
  SettingsRecord settings{1, 0, {1, -1, 0, 2}, L"", 1};
  SaveSettings(settings, L"C:\\Pics", 3, file);

  const std::string expected = "[Section]\r\n" + kChangeSjis + "=1\r\n" + kSizeSjis + "=0\r\n" + kFolderSjis +
                               "=C:\\Pics\r\n" + kKindSjis + "0=1\r\n" + kKindSjis + "1=-1\r\n" + kKindSjis +
                               "2=0\r\n" + kKindSjis + "3=2\r\n" + kSpeedSjis + "=3\r\n";
  EXPECT_EQ(WithoutBlankAfterEquals(folder.ReadBytes(L"Rubblit.ini")), expected);
}

TEST(SettingsFile, WhatIsSavedLoadsBackIncludingAJapaneseFolder) {
  TempFolder folder;
  // 表 and 十 have the trail byte 0x5C, the backslash, in Shift_JIS.
  const std::wstring path = L"C:\\写真\\ﾌｫﾙﾀﾞ\\表十";
  {
    SettingsFile file(folder.File(L"Rubblit.ini"));
    SettingsRecord settings{1, 1, {0, 1, 2, -1}, L"", 1};
    SaveSettings(settings, path, 2, file);
  }
  EXPECT_NE(folder.ReadBytes(L"Rubblit.ini").find(kFolderSjis + "=C:\\\x8E\xCA\x90\x5E\\"), std::string::npos);

  SettingsFile file(folder.File(L"Rubblit.ini"));
  EveryFolderExists reader;
  CommonModule common;
  LoadSettings(common, file, reader);
  EXPECT_EQ(common.settings.ChangeOrder, 1);
  EXPECT_EQ(common.settings.ImageSize, 1);
  EXPECT_EQ(common.settings.ImageKind, (std::array<std::int16_t, 4>{0, 1, 2, -1}));
  EXPECT_EQ(common.settings.ImageFolder, path);
  EXPECT_EQ(common.settings.Speed, 2);
}

TEST(SettingsFile, MissingFileSectionOrKeyReadsEmpty) {
  TempFolder folder;
  folder.WriteBytes(L"Rubblit.ini", "[Other]\r\n" + kSpeedSjis + "=3\r\n[Section]\r\nx=1\r\n");
  const std::wstring ini = folder.File(L"Rubblit.ini");
  EXPECT_EQ(ReadIniValue("Section", kSpeedSjis, ini), L"");
  EXPECT_EQ(ReadIniValue("Missing", "x", ini), L"");
  EXPECT_EQ(ReadIniValue("Other", kSpeedSjis, ini), L"3");
  EXPECT_EQ(ReadIniValue("Section", kSpeedSjis, folder.File(L"none.ini")), L"");
  EXPECT_FALSE(folder.Exists(L"none.ini"));
}

TEST(SettingsFile, ALongValueIsCutTo255BytesAndNeverInsideACharacter) {
  TempFolder folder;
  const std::string ascii(300, 'a');
  // 254 single bytes, then double-byte characters: byte 255 is the first half of one.
  std::string japanese = std::string(254, 'b');
  for (int i = 0; i < 10; ++i) japanese += "\x82\xA0";
  folder.WriteBytes(L"Rubblit.ini", "[Section]\r\nlong=" + ascii + "\r\nmixed=" + japanese + "\r\n");
  const std::wstring ini = folder.File(L"Rubblit.ini");
  EXPECT_EQ(ReadIniValue("Section", "long", ini), std::wstring(255, L'a'));
  EXPECT_EQ(ReadIniValue("Section", "mixed", ini), std::wstring(254, L'b'));
}

TEST(SettingsFile, AKeyTooLongForItsBufferIsCutAtAWholeCharacter) {
  TempFolder folder;
  const std::wstring ini = folder.File(L"Rubblit.ini");
  std::string longKey;
  for (int i = 0; i < 100; ++i) longKey += "\x82\xA0";  // あ
  WriteIniValue("Section", longKey, L"v", ini);
  // 127 bytes fit beside the NUL: 63 two-byte characters.
  const std::string key = longKey.substr(0, 126);
  EXPECT_EQ(folder.ReadBytes(L"Rubblit.ini"), "[Section]\r\n" + key + "=v\r\n");
  EXPECT_EQ(ReadIniValue("Section", key, ini), L"v");
}

TEST(SettingsFile, AFileInAJapaneseFolderIsFound) {
  TempFolder folder;
  const std::wstring sub = folder.File(L"設定表");
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
  const std::wstring ini = sub + L"\\Rubblit.ini";
  WriteIniValue("Section", kSpeedSjis, L" 2", ini);
  EXPECT_EQ(ReadIniValue("Section", kSpeedSjis, ini), L"2");
  EXPECT_NE(::GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(SettingsFile, AWriteThatCannotBeMadeIsSilent) {
  TempFolder folder;
  // A folder that does not exist: nothing is created.
  const std::wstring nowhere = folder.File(L"missing\\Rubblit.ini");
  WriteIniValue("Section", kSpeedSjis, L" 2", nowhere);
  EXPECT_FALSE(folder.Exists(L"missing"));

  // A folder where the file should be: it stays a folder.
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"Rubblit.ini").c_str(), nullptr));
  WriteIniValue("Section", kSpeedSjis, L" 2", folder.File(L"Rubblit.ini"));
  EXPECT_NE(::GetFileAttributesW(folder.File(L"Rubblit.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(SettingsFilePath, IsTheRunningProgramsFolderAndRubblitIni) {
  EXPECT_EQ(SettingsFilePath(), testbed::BuildFolder() + L"\\Rubblit.ini");
}

}  // namespace
