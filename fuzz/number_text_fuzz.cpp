// Any text as a number of the settings file: what is read prints back to the same value, the
// two roundings agree with each other, and both agree with the C library's reading of the same
// decimal text wherever a double holds it exactly enough.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/number_text.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Reference {
  bool accepted = false;
  bool exactEnough = false;  // the double is close enough to the text to round it as the text rounds
  double value = 0;
};

// The text without its blanks when it holds nothing but a decimal number's characters; the C
// library then reads exactly the number syntax the settings reader accepts.
std::optional<std::string> DecimalCharacters(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(L" \t");
  std::string narrow;
  for (std::size_t i = first; i <= last; ++i) {
    const wchar_t c = text[i];
    if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' || c == L'+' || c == L'-')) {
      return std::nullopt;
    }
    narrow.push_back(static_cast<char>(c));
  }
  return narrow;
}

Reference Read(const std::string& narrow) {
  Reference reference;
  errno = 0;
  char* end = nullptr;
  reference.value = std::strtod(narrow.c_str(), &end);
  reference.accepted = end == narrow.c_str() + narrow.size();
  // Up to 15 significant digits and a magnitude below 2^33 the double lies far closer to the text
  // than the text to any integer or half; a text that underflowed to zero is left out as well.
  std::size_t significant = 0;
  bool leading = true, nonZero = false;
  for (char c : narrow) {
    if (c == 'e' || c == 'E') break;
    if (c < '0' || c > '9') continue;
    if (c != '0') leading = false, nonZero = true;
    if (!leading) ++significant;
  }
  reference.exactEnough = reference.accepted && errno != ERANGE && significant <= 15 &&
                          std::fabs(reference.value) < 8589934592.0 && (reference.value != 0 || !nonZero);
  return reference;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = fuzz::WideText(data, size);
  const std::optional<std::int16_t> floor = ReadSettingNumber(text);
  const std::optional<std::int32_t> nearest = ConvertToLong(text);

  if (floor) {
    fuzz::Require(ReadSettingNumber(NumberText(*floor)) == floor, "a setting prints back to the same value");
    fuzz::Require(nearest && *nearest >= *floor && *nearest <= *floor + 1,
                  "the nearest integer within one of the floor");
  }
  if (nearest) {
    fuzz::Require(ConvertToLong(NumberText(*nearest)) == nearest, "a number prints back to the same value");
    fuzz::Require(floor || *nearest <= -32768 || *nearest >= 32768, "a 16-bit floor read whenever it fits");
  }

  if (const std::optional<std::string> narrow = DecimalCharacters(text)) {
    const Reference reference = Read(*narrow);
    if (!reference.accepted) {
      fuzz::Require(!floor && !nearest, "no number where the C library reads none");
    } else if (!(std::fabs(reference.value) < 8589934592.0)) {
      fuzz::Require(!floor && !nearest, "no number beyond 32 bits");
    } else if (reference.exactEnough) {
      const double down = std::floor(reference.value), even = std::nearbyint(reference.value);
      fuzz::Require(down >= -32768 && down <= 32767 ? floor && *floor == down : !floor, "the floor of the text");
      fuzz::Require(even >= -2147483648.0 && even <= 2147483647.0 ? nearest && *nearest == even : !nearest,
                    "the nearest integer of the text, halves to even");
    }
  }
  return 0;
}
