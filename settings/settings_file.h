// The settings file on disk, through the system's profile-string functions.
#pragma once

#include <string>
#include <utility>

#include "settings/settings.h"

// "\Rubblit.ini" in the folder of the running program.
std::wstring SettingsFilePath();

// "Rubblit\Rubblit.ini" in the user's application-data folder: where the settings go when the
// program's folder cannot be written, as under Program Files or in the system folder. Empty when
// the system names no such folder.
std::wstring UserSettingsFilePath();

// Section and key names are the file's own bytes (Shift_JIS), handed to the system unconverted.

// The file's path goes to the system in the ANSI code page, in its short form where it must (see
// forms::AnsiPath).

// The value of key in section of file; empty when any of them is missing. At most 255 bytes of the
// ANSI code page are read, never ending in half a double-byte character.
std::wstring ReadIniValue(const std::string& section, const std::string& key, const std::wstring& file);

// Writes the value, creating the file, section and key as needed. False when the system could not
// write it (a read-only file or folder, a path the ANSI code page cannot say); the file is then as
// it was.
bool WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value,
                   const std::wstring& file);

// The file beside the program, unless the user's own file exists: then that one, for reading and
// writing alike, as it holds the later settings. A write that the file beside the program refuses
// goes to the user's file, which is created for it, and so do all later writes.
class SettingsFile final : public ProfileFile {
 public:
  explicit SettingsFile(std::wstring besideProgram = SettingsFilePath(), std::wstring userFile = UserSettingsFilePath());
  std::wstring ReadIniValue(const std::string& section, const std::string& key) override;
  void WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value) override;
  // The path's short form where the ANSI code page cannot say the path itself; read back long.
  std::wstring ReadIniPath(const std::string& section, const std::string& key) override;
  bool WriteIniPath(const std::string& section, const std::string& key, const std::wstring& path) override;

  // What the ANSI code page could not say, even in short form, since this object was made: the
  // settings file's path (nothing could be written), or a path value (that value was not written).
  bool FileUnsaid() const { return fileUnsaid_; }
  bool PathUnsaid() const { return pathUnsaid_; }

 private:
  bool SwitchToUserFile();

  std::wstring besideProgram_;
  std::wstring userFile_;
  bool useUserFile_;
  bool fileUnsaid_ = false;
  bool pathUnsaid_ = false;
};
