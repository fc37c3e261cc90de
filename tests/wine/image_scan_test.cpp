#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "forms/directory.h"
#include "images/image_scan.h"
#include "wine/testbed/temp_folder.h"

namespace {

void WriteFile(const testbed::TempFolder& folder, const wchar_t* name, DWORD attributes = 0) {
  folder.WriteBytes(name, "picture");
  if (attributes) {
    ASSERT_TRUE(::SetFileAttributesW(folder.File(name).c_str(), attributes)) << name;
  }
}

}  // namespace

TEST(ImageScanOnDisk, ListsPlainReadOnlyAndUnindexedFilesOfAnyCaseInCodeUnitOrderAndFindsOnlyFoldersThatExist) {
  testbed::TempFolder folder;
  for (const wchar_t* name :
       {L"plain.jpg", L"UPPER.JPG", L"Mixed.Jpg", L"b.gif", L"Z.wmf", L"_x.bmp", L"写真.jpg", L"note.txt", L"jpg"})
    WriteFile(folder, name);
  WriteFile(folder, L"readonly.jpg", FILE_ATTRIBUTE_READONLY);
  WriteFile(folder, L"unindexed.jpg", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  WriteFile(folder, L"hidden.jpg", FILE_ATTRIBUTE_HIDDEN);
  WriteFile(folder, L"system.jpg", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  ASSERT_TRUE(::CreateDirectoryW(folder.File(L"folder.jpg").c_str(), nullptr));
  forms::FileSystemDirectory directory;
  ImageList list;
  ScanImages(list, {1, 1, 1, 1}, folder.path(), directory);
  std::vector<std::wstring> expected;
  for (const wchar_t* name : {L"Mixed.Jpg", L"UPPER.JPG", L"Z.wmf", L"_x.bmp", L"b.gif", L"plain.jpg", L"readonly.jpg",
                              L"unindexed.jpg", L"写真.jpg"})
    expected.push_back(folder.File(name));
  EXPECT_EQ(std::vector<std::wstring>(list.ImageFiles.begin() + 1, list.ImageFiles.begin() + 1 + list.ImageCount),
            expected);
  // An empty folder's search still returns "." and "..".
  EXPECT_TRUE(FolderExists(folder.File(L"folder.jpg"), directory));
  EXPECT_FALSE(FolderExists(folder.File(L"photos"), directory));
  EXPECT_FALSE(FolderExists(folder.File(L"plain.jpg"), directory));
}
