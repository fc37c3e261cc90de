// The image files of the chosen folder, as found by the last scan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/directory_reader.h"

struct ImageList {
  // Element 0 is never used; elements 1 .. ImageCount are full paths. Elements past ImageCount may
  // hold texts of an earlier scan and must not be read.
  std::vector<std::wstring> ImageFiles{std::wstring()};
  std::int16_t ImageCount = 0;
  // The attribute value the current scan pass accepts.
  std::int16_t ScanAttribute = 0;
};
