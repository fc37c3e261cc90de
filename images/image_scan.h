// Builds the image list from the image folder and the kind flags, and the path operations that the
// scan and the settings dialog share.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/directory_reader.h"
#include "images/image_list.h"

// The pattern each image kind adds to the folder text, by ImageKind index.
inline constexpr std::array<const wchar_t*, 4> kImagePatternSuffixes = {L"\\*.bmp", L"\\*.gif", L"\\*.jpg",
                                                                         L"\\*.wmf"};
// The ScanAttribute values of the three passes, in scan order.
inline constexpr std::array<std::int16_t, 3> kScanPasses = {0, 32, 1};

// Whether a file whose attribute bits are attributes belongs to the pass whose ScanAttribute is
// scanAttribute.
bool AttributeAccepted(std::uint32_t attributes, std::int16_t scanAttribute);

// True when a search of the folder for "*.*" returns at least one name; any failure gives false.
bool FolderExists(const std::wstring& path, DirectoryReader& reader);

// Rebuilds list from the files of folder whose kinds imageKind enables (exactly 1 = enabled): the
// files of every pass in turn, each pass's kind by kind, up to the list's limit, then sorted.
void ScanImages(ImageList& list, const std::array<std::int16_t, 4>& imageKind, const std::wstring& folder,
                DirectoryReader& reader);

// The full paths of the files of one kind, by pass (in kScanPasses order), each in search order.
using PassFiles = std::array<std::vector<std::wstring>, kScanPasses.size()>;

// Searches pattern once and files each name under the pass that accepts the attributes the search
// reported with it. A failing search keeps what it returned before failing.
PassFiles SearchPattern(const std::wstring& pattern, DirectoryReader& reader);

// Sorts elements 1 .. ImageCount by their UTF-16 code units, case-sensitively.
void SortImageFiles(ImageList& list);

// What stopped part of the settings dialog's folder scan.
enum class FolderScanFailure {
  Search,  // a search failed: its pattern ends there, the other kinds are still searched
  Full,    // a file more than the list can hold: the scan ends
};

struct FolderScanEvents {
  // After each file taken, with the number taken so far; returning false ends the scan.
  std::function<bool(std::int16_t count)> found;
  std::function<void(FolderScanFailure failure)> failed;
};

// The settings dialog's scan of a folder it was given: the files of the kinds imageKind enables,
// pass by pass, within a pass kind by kind, within a kind in search order, and not sorted. Each
// kind's folder is searched once and its files dealt to the passes, as ScanImages does; the files
// are counted as the searches find them, so the count the events see ends at the number returned.
std::vector<std::wstring> ScanFolderInPassOrder(const std::wstring& folder,
                                                const std::array<std::int16_t, 4>& imageKind,
                                                DirectoryReader& reader, const FolderScanEvents& events);
