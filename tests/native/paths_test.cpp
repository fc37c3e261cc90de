#include <gtest/gtest.h>

#include "images/paths.h"

// FolderPart is checked by the paths the image scan tests list, a drive root's among them.
TEST(AddBackslash, DropsTrailingSpacesAndEndsInOneBackslash) {
  const struct {
    const wchar_t* path;
    const wchar_t* result;
  } cases[] = {
      {L"C:\\Pics  ", L"C:\\Pics\\"},
      {L"C:\\", L"C:\\"},
      {L"C:\\Pics\\ ", L"C:\\Pics\\"},
      {L" C:\\My Pics ", L" C:\\My Pics\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddBackslash(c.path), c.result) << c.path;
}
