// The name the dialog lists for an image file.
#pragma once

#include <string>

#include "images/directory_reader.h"

// The name that a directory search for exactly this path returns: the file's name without its
// folder, as stored on disk. Empty when the file is not there (it vanished after the scan).
std::wstring ShownName(const std::wstring& path, DirectoryReader& reader);
