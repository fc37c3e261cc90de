#include "settings/settings_file.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "forms/text.h"
#include "settings/settings_path.h"

namespace {

constexpr std::size_t kValueBufferSize = 256;
constexpr std::size_t kNameBufferSize = 128;

// Shift_JIS's lead bytes, fixed by the encoding itself: asking the system would need its Japanese
// code page, which a Western system may lack.
bool IsShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Copies a name into a fixed buffer, cut at a whole character so that its NUL always fits.
void CopyName(const std::string& name, char (&buffer)[kNameBufferSize]) {
  std::size_t end = 0;
  while (end < name.size()) {
    const std::size_t width = IsShiftJisLeadByte(static_cast<unsigned char>(name[end])) ? 2 : 1;
    if (end + width > kNameBufferSize - 1 || end + width > name.size()) break;
    end += width;
  }
  std::memcpy(buffer, name.data(), end);
  buffer[end] = '\0';
}

std::wstring ProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= 32768) return std::wstring();
    path.resize(path.size() * 2);
  }
}

const wchar_t kUserFolder[] = L"\\Rubblit";
const wchar_t kFileName[] = L"\\Rubblit.ini";

std::wstring UserApplicationData() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return std::wstring();
  return folder;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring SettingsFilePath() { return SettingsFilePathFor(ProgramFile()); }

std::wstring UserSettingsFilePath() {
  const std::wstring folder = UserApplicationData();
  return folder.empty() ? std::wstring() : folder + kUserFolder + kFileName;
}

std::wstring ReadIniValue(const std::string& section, const std::string& key, const std::wstring& file) {
  // The path is in the ANSI code page, which is what the A functions take it in.
  const std::optional<std::string> fileBytes = forms::AnsiPath(file);
  if (!fileBytes) return std::wstring();

  char buffer[kValueBufferSize] = {};
  ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kValueBufferSize, fileBytes->c_str());
  buffer[kValueBufferSize - 1] = '\0';
  const std::string value(buffer, ::strnlen(buffer, kValueBufferSize));
  return forms::FromCodePage(forms::WholeCharacters(value, value.size(), CP_ACP), CP_ACP);
}

bool WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value,
                   const std::wstring& file) {
  const std::optional<std::string> valueBytes = forms::ToCodePage(value, CP_ACP);
  const std::optional<std::string> fileBytes = forms::AnsiPath(file);
  if (!valueBytes || !fileBytes) return false;

  char sectionBuffer[kNameBufferSize];
  char keyBuffer[kNameBufferSize];
  CopyName(section, sectionBuffer);
  CopyName(key, keyBuffer);
  return ::WritePrivateProfileStringA(sectionBuffer, keyBuffer, valueBytes->c_str(), fileBytes->c_str()) != FALSE;
}

SettingsFile::SettingsFile(std::wstring besideProgram, std::wstring userFile)
    : besideProgram_(std::move(besideProgram)),
      userFile_(std::move(userFile)),
      useUserFile_(!userFile_.empty() && FileExists(userFile_)) {}

std::wstring SettingsFile::ReadIniValue(const std::string& section, const std::string& key) {
  return ::ReadIniValue(section, key, useUserFile_ ? userFile_ : besideProgram_);
}

void SettingsFile::WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value) {
  if (!useUserFile_ && ::WriteIniValue(section, key, value, besideProgram_)) return;
  if ((useUserFile_ || SwitchToUserFile()) && ::WriteIniValue(section, key, value, userFile_)) return;
  // Other write failures stay silent; this one the user can do something about.
  if (!forms::AnsiPath(useUserFile_ ? userFile_ : besideProgram_)) fileUnsaid_ = true;
}

std::wstring SettingsFile::ReadIniPath(const std::string& section, const std::string& key) {
  return forms::LongPath(ReadIniValue(section, key));
}

bool SettingsFile::WriteIniPath(const std::string& section, const std::string& key, const std::wstring& path) {
  const std::optional<std::string> said = forms::AnsiPath(path);
  if (!said) {
    pathUnsaid_ = true;
    return false;
  }
  WriteIniValue(section, key, forms::FromCodePage(*said, CP_ACP));
  return true;
}

bool SettingsFile::SwitchToUserFile() {
  if (userFile_.empty()) return false;
  const std::wstring folder = userFile_.substr(0, userFile_.find_last_of(L'\\'));
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  useUserFile_ = true;
  return true;
}
