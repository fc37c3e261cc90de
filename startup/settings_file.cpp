#include "startup/settings_file.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "forms/text.h"
#include "startup/settings_path.h"

namespace {

constexpr std::size_t kValueBufferSize = 256;
constexpr std::size_t kNameBufferSize = 128;

// Copies a name into a fixed buffer, cut at a whole character so that its NUL always fits.
void CopyName(const std::string& name, char (&buffer)[kNameBufferSize]) {
  const std::string cut = forms::WholeCharacters(name, kNameBufferSize - 1, forms::kShiftJisCodePage);
  std::memcpy(buffer, cut.data(), cut.size());
  buffer[cut.size()] = '\0';
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

}  // namespace

std::wstring SettingsFilePath() { return SettingsFilePathFor(ProgramFile()); }

std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
  // Names are Shift_JIS so that the file reads the same under any system locale; the value and the
  // path are in the ANSI code page, which is what the A functions take them in.
  const std::optional<std::string> sectionBytes = forms::ToCodePage(section, forms::kShiftJisCodePage);
  const std::optional<std::string> keyBytes = forms::ToCodePage(key, forms::kShiftJisCodePage);
  const std::optional<std::string> fileBytes = forms::ToCodePage(file, CP_ACP);
  if (!sectionBytes || !keyBytes || !fileBytes) return std::wstring();

  char buffer[kValueBufferSize] = {};
  ::GetPrivateProfileStringA(sectionBytes->c_str(), keyBytes->c_str(), "", buffer, kValueBufferSize,
                             fileBytes->c_str());
  buffer[kValueBufferSize - 1] = '\0';
  const std::string value(buffer, ::strnlen(buffer, kValueBufferSize));
  return forms::FromCodePage(forms::WholeCharacters(value, value.size(), CP_ACP), CP_ACP);
}

void WriteIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                   const std::wstring& file) {
  const std::optional<std::string> sectionBytes = forms::ToCodePage(section, forms::kShiftJisCodePage);
  const std::optional<std::string> keyBytes = forms::ToCodePage(key, forms::kShiftJisCodePage);
  const std::optional<std::string> valueBytes = forms::ToCodePage(value, CP_ACP);
  const std::optional<std::string> fileBytes = forms::ToCodePage(file, CP_ACP);
  if (!sectionBytes || !keyBytes || !valueBytes || !fileBytes) return;

  char sectionBuffer[kNameBufferSize];
  char keyBuffer[kNameBufferSize];
  CopyName(*sectionBytes, sectionBuffer);
  CopyName(*keyBytes, keyBuffer);
  ::WritePrivateProfileStringA(sectionBuffer, keyBuffer, valueBytes->c_str(), fileBytes->c_str());
}

std::wstring SettingsFile::ReadIniValue(const std::wstring& section, const std::wstring& key) {
  return ::ReadIniValue(section, key, path_);
}

void SettingsFile::WriteIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  ::WriteIniValue(section, key, value, path_);
}
