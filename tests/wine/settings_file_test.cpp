#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "forms/directory.h"
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
  const std::wstring path = folder.File(L"写真ﾌｫﾙﾀﾞ表十");
  ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
  {
    SettingsFile file(folder.File(L"Rubblit.ini"));
    SettingsRecord settings{1, 1, {0, 1, 2, -1}, L"", 1};
    SaveSettings(settings, path, 2, file);
  }
  EXPECT_NE(folder.ReadBytes(L"Rubblit.ini").find("\x8E\xCA\x90\x5E\xCC\xAB\xD9\xC0\xDE\x95\x5C\x8F\x5C"),
            std::string::npos);

  SettingsFile file(folder.File(L"Rubblit.ini"));
  forms::FileSystemDirectory reader;
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
  EXPECT_EQ(ReadIniValue(L"Section", L"速さ", ini), L"");
  EXPECT_EQ(ReadIniValue(L"Missing", L"x", ini), L"");
  EXPECT_EQ(ReadIniValue(L"Other", L"速さ", ini), L"3");
  EXPECT_EQ(ReadIniValue(L"Section", L"速さ", folder.File(L"none.ini")), L"");
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
  EXPECT_EQ(ReadIniValue(L"Section", L"long", ini), std::wstring(255, L'a'));
  EXPECT_EQ(ReadIniValue(L"Section", L"mixed", ini), std::wstring(254, L'b'));
}

TEST(SettingsFile, AFileInAJapaneseFolderIsFound) {
  TempFolder folder;
  const std::wstring sub = folder.File(L"設定表");
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
  const std::wstring ini = sub + L"\\Rubblit.ini";
  WriteIniValue(L"Section", L"速さ", L" 2", ini);
  EXPECT_EQ(ReadIniValue(L"Section", L"速さ", ini), L"2");
  EXPECT_NE(::GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(SettingsFile, AWriteThatCannotBeMadeIsSilent) {
  TempFolder folder;
  // A folder that does not exist: nothing is created.
  const std::wstring nowhere = folder.File(L"missing\\Rubblit.ini");
  WriteIniValue(L"Section", L"速さ", L" 2", nowhere);
  EXPECT_FALSE(folder.Exists(L"missing"));

  // A folder where the file should be: it stays a folder.
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"Rubblit.ini").c_str(), nullptr));
  WriteIniValue(L"Section", L"速さ", L" 2", folder.File(L"Rubblit.ini"));
  EXPECT_NE(::GetFileAttributesW(folder.File(L"Rubblit.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(SettingsFilePath, IsTheRunningProgramsFolderAndRubblitIni) {
  EXPECT_EQ(SettingsFilePath(), testbed::BuildFolder() + L"\\Rubblit.ini");
}

}  // namespace
