#include <gtest/gtest.h>

#include "images/paths.h"

TEST(FolderPart, KeepsEverythingBeforeTheLastColonOrBackslash) {
  const struct {
    const wchar_t* path;
    const wchar_t* folder;
  } cases[] = {
      {L"C:\\Pics\\*.bmp", L"C:\\Pics"},
      {L"C:\\*.bmp", L"C:"},
      {L"C:\\\\*.bmp", L"C:\\"},
      {L"\\\\server\\share\\写真\\*.jpg", L"\\\\server\\share\\写真"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
}

TEST(AddBackslash, DropsTrailingSpacesAndEndsInOneBackslash) {
  const struct {
    const wchar_t* path;
    const wchar_t* result;
  } cases[] = {
      {L"C:\\Pics  ", L"C:\\Pics\\"},        {L"C:\\", L"C:\\"},
      {L"C:\\Pics", L"C:\\Pics\\"},          {L"C:\\Pics\\ ", L"C:\\Pics\\"},
      {L" C:\\My Pics ", L" C:\\My Pics\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddBackslash(c.path), c.result) << c.path;
}
