#include "common/number_text.h"

#include <cstdint>
#include <limits>
#include <string>

namespace {

// A number split at its decimal point, exactly as written: no floating point is involved, so
// rounding never depends on binary representation ("2.9999999999999999" floors to 2).
struct Decimal {
  bool negative = false;
  bool tooLarge = false;     // the whole part has more digits than any 32-bit value
  std::uint64_t whole = 0;   // the digits before the point
  std::string fraction;      // the digits after the point, trailing zeros included
};

constexpr int kMaxWholeDigits = 12;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::optional<Decimal> ParseDecimal(const std::wstring& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;

  Decimal result;
  if (i < n && (text[i] == L'+' || text[i] == L'-')) {
    result.negative = text[i] == L'-';
    ++i;
  }

  std::string digits;  // integer and fraction digits together
  std::size_t digitsBeforePoint = 0;
  bool sawDigit = false;
  while (i < n && IsDigit(text[i])) {
    digits.push_back(static_cast<char>(text[i++]));
    sawDigit = true;
  }
  digitsBeforePoint = digits.size();
  if (i < n && text[i] == L'.') {
    ++i;
    while (i < n && IsDigit(text[i])) {
      digits.push_back(static_cast<char>(text[i++]));
      sawDigit = true;
    }
  }
  if (!sawDigit) return std::nullopt;

  // The exponent saturates: anything beyond a few thousand only says "huge" or "tiny".
  long exponent = 0;
  if (i < n && (text[i] == L'e' || text[i] == L'E')) {
    ++i;
    bool exponentNegative = false;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
      exponentNegative = text[i] == L'-';
      ++i;
    }
    if (i >= n || !IsDigit(text[i])) return std::nullopt;
    while (i < n && IsDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - L'0');
      ++i;
    }
    if (exponentNegative) exponent = -exponent;
  }

  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return std::nullopt;

  // Leading zeros carry no value; dropping them keeps the padding below small.
  std::size_t leadingZeros = digits.find_first_not_of('0');
  if (leadingZeros == std::string::npos) return result;  // zero, whatever its sign or exponent
  digits.erase(0, leadingZeros);
  long point = static_cast<long>(digitsBeforePoint) - static_cast<long>(leadingZeros) + exponent;

  if (point > kMaxWholeDigits) {
    result.tooLarge = true;
    return result;
  }
  if (point <= 0) {
    // Below 1: only how the fraction starts matters, so a very small value keeps a short prefix.
    long zeros = -point < 3 ? -point : 3;
    result.fraction = std::string(static_cast<std::size_t>(zeros), '0') + digits;
    return result;
  }
  std::size_t wholeDigits = static_cast<std::size_t>(point);
  if (digits.size() < wholeDigits) digits.append(wholeDigits - digits.size(), '0');
  for (std::size_t k = 0; k < wholeDigits; ++k) result.whole = result.whole * 10 + static_cast<unsigned>(digits[k] - '0');
  result.fraction = digits.substr(wholeDigits);
  return result;
}

bool HasNonZero(const std::string& digits, std::size_t from) {
  return digits.find_first_not_of('0', from) != std::string::npos;
}

// Applies the sign to a magnitude and checks the target range.
template <typename Int>
std::optional<Int> Signed(bool negative, std::uint64_t magnitude) {
  const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) return std::nullopt;
  return static_cast<Int>(value);
}

}  // namespace

std::optional<std::int16_t> ReadSettingNumber(const std::wstring& text) {
  std::optional<Decimal> decimal = ParseDecimal(text);
  if (!decimal || decimal->tooLarge) return std::nullopt;
  std::uint64_t magnitude = decimal->whole;
  // Rounding down moves a negative value with a fraction one further from zero.
  if (decimal->negative && HasNonZero(decimal->fraction, 0)) ++magnitude;
  return Signed<std::int16_t>(decimal->negative, magnitude);
}

std::optional<std::int32_t> ConvertToLong(const std::wstring& text) {
  std::optional<Decimal> decimal = ParseDecimal(text);
  if (!decimal || decimal->tooLarge) return std::nullopt;
  std::uint64_t magnitude = decimal->whole;
  const std::string& fraction = decimal->fraction;
  if (!fraction.empty()) {
    const char first = fraction[0];
    const bool exactHalf = first == '5' && !HasNonZero(fraction, 1);
    if (first > '5' || (first == '5' && !exactHalf) || (exactHalf && magnitude % 2 == 1)) ++magnitude;
  }
  return Signed<std::int32_t>(decimal->negative, magnitude);
}

std::wstring NumberText(std::int32_t value) {
  std::wstring digits = std::to_wstring(value);
  return value < 0 ? digits : L" " + digits;
}
