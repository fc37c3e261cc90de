#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "forms/directory.h"
#include "images/image_scan.h"
#include "wine/testbed/temp_folder.h"

namespace {

const std::array<std::int16_t, 4> kAllKinds = {1, 1, 1, 1};

std::vector<std::wstring> Listed(const ImageList& list) {
  return std::vector<std::wstring>(list.ImageFiles.begin() + 1, list.ImageFiles.begin() + 1 + list.ImageCount);
}

std::vector<std::wstring> In(const testbed::TempFolder& folder, std::initializer_list<const wchar_t*> names) {
  std::vector<std::wstring> paths;
  for (const wchar_t* name : names) paths.push_back(folder.File(name));
  return paths;
}

void WriteFile(const testbed::TempFolder& folder, const wchar_t* name, DWORD attributes = 0) {
  folder.WriteBytes(name, "picture");
  if (attributes) {
    ASSERT_TRUE(::SetFileAttributesW(folder.File(name).c_str(), attributes)) << name;
  }
}

}  // namespace

TEST(ImageScanOnDisk, ListsPlainReadOnlyAndUnindexedFilesOfAnyCaseButNeverHiddenOrSystemOnesInCodeUnitOrder) {
  testbed::TempFolder folder;
  for (const wchar_t* name : {L"plain.jpg", L"UPPER.JPG", L"Mixed.Jpg", L"b.gif", L"Z.wmf", L"_x.bmp", L"写真.jpg",
                              L"note.txt", L"jpg"})
    WriteFile(folder, name);
  WriteFile(folder, L"readonly.jpg", FILE_ATTRIBUTE_READONLY);
  WriteFile(folder, L"readonly archive.jpg", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteFile(folder, L"unindexed.jpg", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  WriteFile(folder, L"hidden.jpg", FILE_ATTRIBUTE_HIDDEN);
  WriteFile(folder, L"system.jpg", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  WriteFile(folder, L"hidden readonly.jpg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"folder.jpg").c_str(), nullptr));
  forms::FileSystemDirectory directory;
  ImageList list;
  ScanImages(list, kAllKinds, folder.path(), directory);
  EXPECT_EQ(Listed(list), In(folder, {L"Mixed.Jpg", L"UPPER.JPG", L"Z.wmf", L"_x.bmp", L"b.gif", L"plain.jpg",
                                      L"readonly archive.jpg", L"readonly.jpg", L"unindexed.jpg", L"写真.jpg"}));
}

TEST(ImageScanOnDisk, FolderExistsOnlyForAReadableFolder) {
  testbed::TempFolder folder;
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"empty").c_str(), nullptr));
  WriteFile(folder, L"file.jpg");
  forms::FileSystemDirectory directory;
  const std::pair<std::wstring, bool> cases[] = {
      {folder.File(L"empty"), true},   {folder.File(L"empty") + L"\\  ", true}, {folder.path() + L"  ", true},
      {folder.File(L"photos"), false}, {folder.File(L"file.jpg"), false},
  };
  for (const auto& [path, exists] : cases) EXPECT_EQ(FolderExists(path, directory), exists) << path;
}

TEST(FileSystemDirectory, ReportsEachNameWithTheAttributeBitsOfAnAttributeQuery) {
  testbed::TempFolder folder;
  WriteFile(folder, L"ro.jpg", FILE_ATTRIBUTE_READONLY);
  WriteFile(folder, L"plain.jpg");
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"sub").c_str(), nullptr));
  forms::FileSystemDirectory directory;
  int reported = 0;
  directory.FindNames(folder.File(L"*.*"), true, [&](const std::wstring& name, std::uint32_t attributes) {
    DWORD queried = ::GetFileAttributesW(folder.File(name).c_str());
    EXPECT_EQ(attributes, queried == FILE_ATTRIBUTE_NORMAL ? 0u : queried) << name;
    ++reported;
    return true;
  });
  EXPECT_EQ(reported, 5);
}
