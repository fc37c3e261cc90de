#include "settings/settings_path.h"

std::wstring SettingsFilePathFor(const std::wstring& programFile) {
  const std::size_t separator = programFile.find_last_of(L'\\');
  std::wstring folder = separator == std::wstring::npos ? std::wstring() : programFile.substr(0, separator);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder + L"\\Rubblit.ini";
}
