#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "forms/directory.h"
#include "forms/handles.h"
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
  SettingsFile file(folder.File(L"Rubblit.ini"), folder.File(L"user\\Rubblit.ini"));
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
    SettingsFile file(folder.File(L"Rubblit.ini"), folder.File(L"user\\Rubblit.ini"));
    SettingsRecord settings{1, 1, {0, 1, 2, -1}, L"", 1};
    SaveSettings(settings, path, 2, file);
  }
  EXPECT_NE(folder.ReadBytes(L"Rubblit.ini").find("\x8E\xCA\x90\x5E\xCC\xAB\xD9\xC0\xDE\x95\x5C\x8F\x5C"),
            std::string::npos);

  SettingsFile file(folder.File(L"Rubblit.ini"), folder.File(L"user\\Rubblit.ini"));
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

TEST(SettingsFile, AFileInAJapaneseFolderIsFound) {
  TempFolder folder;
  const std::wstring sub = folder.File(L"設定表");
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
  const std::wstring ini = sub + L"\\Rubblit.ini";
  EXPECT_TRUE(WriteIniValue("Section", kSpeedSjis, L" 2", ini));
  EXPECT_EQ(ReadIniValue("Section", kSpeedSjis, ini), L"2");
  EXPECT_NE(::GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A program folder and a user folder, as the program finds them when installed, and the settings
// of one start: loaded from them, then, when a dialog saves, saved to them.
struct Installation {
  TempFolder root;
  std::wstring program = root.File(L"program");
  std::wstring besideProgram = program + L"\\Rubblit.ini";
  std::wstring userFile = root.File(L"appdata\\Rubblit\\Rubblit.ini");
  // A picture folder that exists, so that loading keeps it.
  std::wstring pictures = root.File(L"pics");
  Installation() {
    ::CreateDirectoryW(program.c_str(), nullptr);
    ::CreateDirectoryW(root.File(L"appdata").c_str(), nullptr);
    ::CreateDirectoryW(pictures.c_str(), nullptr);
  }
  SettingsRecord Start() const {
    SettingsFile file(besideProgram, userFile);
    forms::FileSystemDirectory reader;
    CommonModule common;
    LoadSettings(common, file, reader);
    return common.settings;
  }
  void Save(SettingsRecord settings, std::int16_t speed) const {
    SettingsFile file(besideProgram, userFile);
    SaveSettings(settings, settings.ImageFolder, speed, file);
  }
};

bool SameSettings(const SettingsRecord& a, const SettingsRecord& b) {
  return a.ChangeOrder == b.ChangeOrder && a.ImageSize == b.ImageSize && a.ImageKind == b.ImageKind &&
         a.ImageFolder == b.ImageFolder && a.Speed == b.Speed;
}

TEST(SettingsFile, AWriteRefusedBesideTheProgramGoesToTheUsersFileWhichTheNextStartReads) {
  // The temporary folders' paths are ASCII.
  auto saved = [](const Installation& installed) {
    return "[Section]\r\n" + kChangeSjis + "=1\r\n" + kSizeSjis + "=1\r\n" + kFolderSjis + "=" +
           std::string(installed.pictures.begin(), installed.pictures.end()) + "\r\n" + kKindSjis + "0=1\r\n" +
           kKindSjis + "1=0\r\n" + kKindSjis + "2=1\r\n" + kKindSjis + "3=0\r\n" + kSpeedSjis + "=3\r\n";
  };

  // No program folder to write in.
  {
    Installation installed;
    ASSERT_TRUE(::RemoveDirectoryW(installed.program.c_str()));
    const SettingsRecord chosen{1, 1, {1, 0, 1, 0}, installed.pictures, 3};
    installed.Save(chosen, 3);
    EXPECT_FALSE(installed.root.Exists(L"program"));
    EXPECT_EQ(WithoutBlankAfterEquals(installed.root.ReadBytes(L"appdata\\Rubblit\\Rubblit.ini")), saved(installed));
    EXPECT_TRUE(SameSettings(installed.Start(), chosen));
  }

  // A file beside the program that another program holds open for reading only: read until the
  // first save, then kept as it was while the user's file takes over.
  {
    Installation installed;
    const SettingsRecord chosen{1, 1, {1, 0, 1, 0}, installed.pictures, 3};
    const std::string earlier = "[Section]\r\n" + kSpeedSjis + "=2\r\n" + kFolderSjis + "=C:\\Old\r\n";
    installed.root.WriteBytes(L"program\\Rubblit.ini", earlier);
    forms::KernelHandle held(::CreateFileW(installed.besideProgram.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.get());
    EXPECT_EQ(installed.Start().Speed, 2);
    installed.Save(chosen, 3);
    EXPECT_EQ(installed.root.ReadBytes(L"program\\Rubblit.ini"), earlier);
    EXPECT_EQ(WithoutBlankAfterEquals(installed.root.ReadBytes(L"appdata\\Rubblit\\Rubblit.ini")), saved(installed));
    EXPECT_TRUE(SameSettings(installed.Start(), chosen));
  }
}

TEST(SettingsFile, OnceTheUsersFileExistsItIsReadAndWrittenEvenWhereTheProgramFolderIsWritable) {
  Installation installed;
  installed.root.WriteBytes(L"program\\Rubblit.ini", "[Section]\r\n" + kSpeedSjis + "=2\r\n");
  ::CreateDirectoryW(installed.root.File(L"appdata\\Rubblit").c_str(), nullptr);
  installed.root.WriteBytes(L"appdata\\Rubblit\\Rubblit.ini", "[Section]\r\n" + kSpeedSjis + "=3\r\n");
  EXPECT_EQ(installed.Start().Speed, 3);
  SettingsRecord chosen{0, 1, {1, 1, 1, 0}, installed.pictures, 1};
  installed.Save(chosen, 1);
  EXPECT_TRUE(SameSettings(installed.Start(), chosen));
  EXPECT_EQ(installed.root.ReadBytes(L"program\\Rubblit.ini"), "[Section]\r\n" + kSpeedSjis + "=2\r\n");
}

TEST(SettingsFilePath, IsTheRunningProgramsFolderAndRubblitIni) {
  EXPECT_EQ(SettingsFilePath(), testbed::BuildFolder() + L"\\Rubblit.ini");
}

}  // namespace
