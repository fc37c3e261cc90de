// The settings file on disk, through the system's profile-string functions.
#pragma once

#include <string>
#include <utility>

#include "startup/settings.h"

// "\Rubblit.ini" in the folder of the running program.
std::wstring SettingsFilePath();

// Section and key names are the file's own bytes (Shift_JIS), handed to the system unconverted.

// The value of key in section of file; empty when any of them is missing. At most 255 bytes of the
// ANSI code page are read, never ending in half a double-byte character.
std::wstring ReadIniValue(const std::string& section, const std::string& key, const std::wstring& file);

// Writes the value, creating the file, section and key as needed. A failure (a read-only file or
// folder) is silent and leaves the file as it was.
void WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value,
                   const std::wstring& file);

class SettingsFile final : public ProfileFile {
 public:
  explicit SettingsFile(std::wstring path = SettingsFilePath()) : path_(std::move(path)) {}
  std::wstring ReadIniValue(const std::string& section, const std::string& key) override;
  void WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value) override;

 private:
  std::wstring path_;
};
