#include "images/paths.h"

std::wstring FolderPart(const std::wstring& path) {
  std::wstring::size_type last = path.find_last_of(L":\\");
  if (last == std::wstring::npos) return std::wstring();
  std::wstring folder = path.substr(0, last + 1);
  if (folder.back() == L'\\') folder.pop_back();
  return folder;
}

std::wstring AddBackslash(const std::wstring& path) {
  std::wstring::size_type kept = path.find_last_not_of(L' ');
  std::wstring result = kept == std::wstring::npos ? std::wstring() : path.substr(0, kept + 1);
  if (result.empty() || result.back() != L'\\') result += L'\\';
  return result;
}
