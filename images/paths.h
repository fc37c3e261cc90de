// Path texts as the scan and the settings dialog build them. Nothing here touches the file system
// and nothing normalises a path: a drive root keeps its separator, so "C:\" + "\" + name stays
// doubled, which the file system accepts.
#pragma once

#include <string>

// The folder part of a path: everything before its last ":" or "\", keeping a ":" but dropping
// one final "\". "C:\Pics\*.bmp" gives "C:\Pics", "C:\*.bmp" gives "C:", "*.bmp" gives "".
std::wstring FolderPart(const std::wstring& path);

// The path without trailing spaces, ending in exactly the "\" it had or one appended.
std::wstring AddBackslash(const std::wstring& path);
