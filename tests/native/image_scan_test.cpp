#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "images/image_scan.h"
#include "images/shown_name.h"
#include "native/fake_directory.h"

namespace {

const std::array<std::int16_t, 4> kAllKinds = {1, 1, 1, 1};
const std::wstring kPics = L"C:\\Pics";

std::vector<std::wstring> Listed(const ImageList& list) {
  return std::vector<std::wstring>(list.ImageFiles.begin() + 1, list.ImageFiles.begin() + 1 + list.ImageCount);
}

std::vector<std::wstring> InPics(std::initializer_list<const wchar_t*> names) {
  std::vector<std::wstring> paths;
  for (const wchar_t* name : names) paths.push_back(kPics + L"\\" + name);
  return paths;
}

// The dialog's folder scan, with what it reported: the counts, then the failures.
struct FolderScanRun {
  std::vector<int> counts;
  std::vector<FolderScanFailure> failures;
  std::vector<std::wstring> found;
  FolderScanRun(DirectoryReader& directory, const std::array<std::int16_t, 4>& kinds, int stopAfter = -1) {
    FolderScanEvents events{[&](std::int16_t count) {
                              counts.push_back(count);
                              return count != stopAfter;
                            },
                            [&](FolderScanFailure failure) { failures.push_back(failure); }};
    found = ScanFolderInPassOrder(kPics, kinds, directory, events);
  }
};

}  // namespace

TEST(ImageScan, BothScansListPlainThenArchiveThenReadOnlyFilesKindByKindAndOnlyTheSavedScanSorts) {
  FakeDirectory directory;
  directory.Add(kPics, L"b.bmp", kArchive);
  directory.Add(kPics, L"a.gif", kArchive | kCompressed);
  directory.Add(kPics, L"r.jpg", kReadOnly | kArchive);
  directory.Add(kPics, L"p.wmf", 0);
  directory.Add(kPics, L"q.bmp", kReadOnly);
  directory.Add(kPics, L"h.bmp", kHidden);
  const FolderScanRun all(directory, kAllKinds);
  EXPECT_EQ(all.found, InPics({L"p.wmf", L"b.bmp", L"a.gif", L"q.bmp", L"r.jpg"}));
  EXPECT_EQ(all.counts, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(all.failures.empty());
  ImageList list;
  ScanImages(list, kAllKinds, kPics, directory);
  EXPECT_EQ(Listed(list), InPics({L"a.gif", L"b.bmp", L"p.wmf", L"q.bmp", L"r.jpg"}));

  // A flag other than 1 leaves its kind unsearched.
  directory.searches.clear();
  EXPECT_EQ(FolderScanRun(directory, {1, 2, 0, 1}).found, InPics({L"p.wmf", L"b.bmp", L"q.bmp"}));
  EXPECT_EQ(directory.searches, InPics({L"*.bmp", L"*.wmf"}));

  // A failed search ends only its kind.
  directory.failingPatterns.insert(kPics + L"\\*.gif");
  const FolderScanRun failed(directory, kAllKinds);
  EXPECT_EQ(failed.found, InPics({L"p.wmf", L"b.bmp", L"q.bmp", L"r.jpg"}));
  EXPECT_EQ(failed.failures, std::vector<FolderScanFailure>{FolderScanFailure::Search});
  ScanImages(list, kAllKinds, kPics, directory);
  EXPECT_EQ(Listed(list), InPics({L"b.bmp", L"p.wmf", L"q.bmp", L"r.jpg"}));
}

TEST(ImageScan, BothScansKeepTheFirst32767FilesAndTheDialogsScanStopsWhenAskedTo) {
  FakeDirectory directory;
  directory.Add(kPics, L"zz first.bmp", 0);
  for (int i = 0; i < 32768; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"g%05d.gif", i);
    directory.Add(kPics, name, kArchive);
  }
  directory.Add(kPics, L"a late.jpg", kArchive);
  directory.Add(kPics, L"a plain.wmf", 0);

  // The saved scan fills each pass from every kind before the next pass, then sorts.
  ImageList list;
  ScanImages(list, kAllKinds, kPics, directory);
  ASSERT_EQ(list.ImageCount, 32767);
  ASSERT_EQ(list.ImageFiles.size(), 32768u);
  EXPECT_TRUE(std::is_sorted(list.ImageFiles.begin() + 1, list.ImageFiles.end()));
  EXPECT_EQ(list.ImageFiles[1], kPics + L"\\a plain.wmf");
  EXPECT_EQ(list.ImageFiles[32766], kPics + L"\\g32764.gif");
  EXPECT_EQ(list.ImageFiles[32767], kPics + L"\\zz first.bmp");

  // The dialog's scan counts the files as the searches find them and ends at the first one too many.
  directory.searches.clear();
  const FolderScanRun full(directory, kAllKinds);
  ASSERT_EQ(full.found.size(), 32767u);
  EXPECT_EQ(full.found.front(), kPics + L"\\zz first.bmp");
  EXPECT_EQ(full.found.back(), kPics + L"\\g32765.gif");
  EXPECT_EQ(full.failures, std::vector<FolderScanFailure>{FolderScanFailure::Full});
  EXPECT_EQ(directory.searches, InPics({L"*.bmp", L"*.gif"}));
  const FolderScanRun stopped(directory, kAllKinds, 2);
  EXPECT_EQ(stopped.found.size(), 2u);
  EXPECT_TRUE(stopped.failures.empty());
}

TEST(ScanImages, DriveRootExistsAndGivesEntriesWithADoubledSeparator) {
  FakeDirectory directory;
  directory.Add(L"C:", L"b.gif", kArchive);
  directory.Add(L"C:", L"a.bmp", kArchive);
  ASSERT_TRUE(FolderExists(L"C:\\", directory));
  EXPECT_EQ(directory.searches, std::vector<std::wstring>{L"C:\\*.*"});
  directory.searches.clear();
  ImageList list;
  ScanImages(list, kAllKinds, L"C:\\", directory);
  EXPECT_EQ(directory.searches.front(), L"C:\\\\*.bmp");
  EXPECT_EQ(Listed(list), (std::vector<std::wstring>{L"C:\\\\a.bmp", L"C:\\\\b.gif"}));
}

TEST(SortImageFiles, OrdersByUtf16CodeUnits) {
  // Capitals first, a name before its longer forms, and a character beyond U+FFFF by its high surrogate.
  const std::vector<std::wstring> sorted = {L"",          L"A.bmp",      L"Z.bmp",    L"_.bmp",          L"a.bmp",
                                            L"a.bmpx",    L"\u00E9.gif", L"写真.jpg", L"\U0001F600.bmp", L"\uE000.bmp",
                                            L"\uFF21.bmp"};
  ImageList list;
  list.ImageFiles = {L""};
  list.ImageFiles.insert(list.ImageFiles.end(), sorted.rbegin(), sorted.rend() - 1);
  list.ImageCount = 10;
  SortImageFiles(list);
  EXPECT_EQ(list.ImageFiles, sorted);
}

TEST(ShownNames, GiveEachPathItsNameOnDiskOrEmptyWithOneSearchPerFolder) {
  FakeDirectory directory;
  directory.Add(kPics, L"Photo.JPG", kArchive);
  directory.Add(kPics, L"b.bmp", kReadOnly);
  directory.Add(L"C:\\Other", L"c.gif", kArchive);
  const std::vector<std::wstring> paths = {L"unused",          kPics + L"\\photo.jpg", kPics + L"\\gone.bmp",
                                           kPics + L"\\b.bmp", L"C:\\Other\\c.gif",    L"C:\\Missing\\d.gif"};
  EXPECT_EQ(ShownNames(paths, 1, 5, directory),
            (std::vector<std::wstring>{L"Photo.JPG", L"", L"b.bmp", L"c.gif", L""}));
  EXPECT_EQ(directory.searches,
            (std::vector<std::wstring>{kPics + L"\\*", L"C:\\Other\\*", L"C:\\Missing\\*", L"C:\\Missing\\d.gif"}));
}
