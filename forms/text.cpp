#include "forms/text.h"

#include <climits>

namespace forms {

std::optional<std::string> ToCodePage(const std::wstring& text, UINT codePage) {
  if (text.empty()) return std::string();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(codePage, 0, text.data(), length, &bytes[0], size, nullptr, nullptr) != size) {
    return std::nullopt;
  }
  return bytes;
}

std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  if (::MultiByteToWideChar(codePage, 0, bytes.data(), length, &text[0], size) != size) return std::wstring();
  return text;
}

std::string WholeCharacters(const std::string& bytes, std::size_t maxBytes, UINT codePage) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t width = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[end])) ? 2 : 1;
    if (end + width > maxBytes || end + width > bytes.size()) break;
    end += width;
  }
  return bytes.substr(0, end);
}

}  // namespace forms
