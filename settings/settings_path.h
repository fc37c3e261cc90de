// Where the settings file lives: next to the program.
#pragma once

#include <string>

// The settings file for the program file programFile: its folder, as the system reports a folder
// (no trailing separator except at a drive root), followed by "\Rubblit.ini". At a drive root the
// separator is doubled ("C:\\Rubblit.ini"), which the file system accepts.
std::wstring SettingsFilePathFor(const std::wstring& programFile);
