#include "common/arguments.h"

#include <cstddef>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::wstring ModeLetter(const std::wstring& argumentString) {
  if (argumentString.size() < 2) return std::wstring();
  wchar_t letter = argumentString[1];
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  return std::wstring(1, letter);
}

std::wstring WindowHandleField(const std::wstring& argumentString) {
  return argumentString.size() > 3 ? argumentString.substr(3) : std::wstring();
}

std::optional<std::int32_t> ReadLeadingNumber(const std::wstring& text) {
  // Anything past 2^32 is out of range whatever follows, so the whole part saturates there and
  // the digits are still consumed.
  constexpr std::int64_t kSaturated = std::int64_t{1} << 32;
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    ++at;
  }
  std::int64_t whole = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (whole < kSaturated) whole = whole * 10 + (text[at] - L'0');
  }
  // The fraction only decides the rounding: below, at or above one half.
  int firstFractionDigit = 0;
  bool moreAfterFirst = false;
  if (at < text.size() && text[at] == L'.') {
    ++at;
    if (at < text.size() && IsDigit(text[at])) firstFractionDigit = text[at++] - L'0';
    for (; at < text.size() && IsDigit(text[at]); ++at) {
      if (text[at] != L'0') moreAfterFirst = true;
    }
  }
  bool above = firstFractionDigit > 5 || (firstFractionDigit == 5 && moreAfterFirst);
  bool half = firstFractionDigit == 5 && !moreAfterFirst;
  if (above || (half && whole % 2 != 0)) ++whole;
  std::int64_t value = negative ? -whole : whole;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}
