// Builds the image list from the image folder and the kind flags, and the path operations that the
// scan and the settings dialog share.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "images/directory_reader.h"
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

// Rebuilds list from the files of folder whose kinds imageKind enables (exactly 1 = enabled).
void ScanImages(ImageList& list, const std::array<std::int16_t, 4>& imageKind, const std::wstring& folder,
                DirectoryReader& reader);

// Appends the files that pattern matches and the pass of attribute accepts, each judged by the
// attributes its search reported. A failing search or a full list ends it early.
void ScanPattern(ImageList& list, const std::wstring& pattern, std::int16_t attribute, DirectoryReader& reader);

// Sorts elements 1 .. ImageCount by their UTF-16 code units, case-sensitively.
void SortImageFiles(ImageList& list);
