// The name the dialog lists for an image file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forms/directory_reader.h"

// The name that a directory search for exactly this path returns: the file's name without its
// folder, as stored on disk. Empty when the file is not there (it vanished after the scan).
std::wstring ShownName(const std::wstring& path, DirectoryReader& reader);

// ShownName of count paths from paths[first] on, with one search of each folder instead of one
// search per path, which a folder of thousands of files needs.
std::vector<std::wstring> ShownNames(const std::vector<std::wstring>& paths, std::size_t first, std::size_t count,
                                     DirectoryReader& reader);
