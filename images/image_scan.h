// Builds the image list from the image folder and the kind flags, and the path operations that the
// scan and the settings dialog share.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "images/directory_reader.h"
#include "images/image_list.h"

// True when a search of the folder for "*.*" returns at least one name; any failure gives false.
bool FolderExists(const std::wstring& path, DirectoryReader& reader);

// Rebuilds list from the files of folder whose kinds imageKind enables (exactly 1 = enabled).
void ScanImages(ImageList& list, const std::array<std::int16_t, 4>& imageKind, const std::wstring& folder,
                DirectoryReader& reader);
