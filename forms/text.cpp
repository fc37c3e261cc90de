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

std::optional<std::string> ToCodePageExactly(const std::wstring& text, UINT codePage) {
  std::optional<std::string> bytes = ToCodePage(text, codePage);
  // A character the code page lacks does not come back from the round trip.
  if (bytes && FromCodePage(*bytes, codePage) != text) return std::nullopt;
  return bytes;
}

namespace {

// GetShortPathNameW and GetLongPathNameW: empty when the path names nothing that exists.
template <typename Convert>
std::wstring ConvertedPath(const std::wstring& path, Convert convert) {
  const DWORD size = convert(path.c_str(), nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring converted(size, L'\0');
  const DWORD length = convert(path.c_str(), &converted[0], size);
  if (length == 0 || length >= size) return std::wstring();
  converted.resize(length);
  return converted;
}

}  // namespace

std::optional<std::string> AnsiPath(const std::wstring& path) {
  if (std::optional<std::string> bytes = ToCodePageExactly(path, CP_ACP)) return bytes;
  const std::wstring shortPath = ConvertedPath(path, &::GetShortPathNameW);
  if (!shortPath.empty()) return ToCodePageExactly(shortPath, CP_ACP);
  const std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring::npos) return std::nullopt;
  std::wstring shortFolder = ConvertedPath(path.substr(0, separator + 1), &::GetShortPathNameW);
  if (shortFolder.empty()) return std::nullopt;
  if (shortFolder.back() != L'\\') shortFolder += L'\\';
  return ToCodePageExactly(shortFolder + path.substr(separator + 1), CP_ACP);
}

std::wstring LongPath(const std::wstring& path) {
  if (path.find(L'~') == std::wstring::npos) return path;
  const std::wstring longPath = ConvertedPath(path, &::GetLongPathNameW);
  return longPath.empty() ? path : longPath;
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
