// Loading and saving the settings file.
#pragma once

#include <cstdint>
#include <string>

#include "forms/directory_reader.h"
#include "common/common_module.h"

// Profile-string access to the one settings file. The Win32 implementation uses the system's
// profile functions; tests may supply their own. Section and key names are the bytes the file
// holds (Shift_JIS), handed on unconverted; values are texts in the ANSI code page.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The value text, empty when the file, section or key is missing; at most 255 bytes of the
  // ANSI code page.
  virtual std::wstring ReadIniValue(const std::string& section, const std::string& key) = 0;
  virtual void WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value) = 0;
  // A path, read and written in a form that the file's code page can hold. Writing gives false, and
  // writes nothing, when the path has no such form.
  virtual std::wstring ReadIniPath(const std::string& section, const std::string& key) {
    return ReadIniValue(section, key);
  }
  virtual bool WriteIniPath(const std::string& section, const std::string& key, const std::wstring& path) {
    WriteIniValue(section, key, path);
    return true;
  }
};

// Fills the settings record from the file and scans the image folder into the image list.
void LoadSettings(CommonModule& common, ProfileFile& file, DirectoryReader& reader);

// Writes the record, with the folder the dialog shows and the speed slider's value.
// ImageFolder takes folderPathCaption; Speed in memory stays as it was.
void SaveSettings(SettingsRecord& settings, const std::wstring& folderPathCaption, std::int16_t speedValue,
                  ProfileFile& file);
