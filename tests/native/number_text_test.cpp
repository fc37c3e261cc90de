#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "startup/number_text.h"

namespace {

constexpr std::nullopt_t kNothing = std::nullopt;

TEST(ReadSettingNumber, ReadsTheValueTextsOfTheSettingsFileRoundingDown) {
  const std::pair<const wchar_t*, std::optional<std::int16_t>> cases[] = {
      {L"3", 3},          {L" 3", 3},          {L"-1", -1},         {L"  7  ", 7},     {L"2.9", 2},
      {L"-0.5", -1},      {L"32767", 32767},   {L"-32768", -32768}, {L"1e2", 100},
      // Not numbers, or numbers that do not fit in 16 bits.
      {L"", kNothing},    {L"abc", kNothing},  {L"3a", kNothing},   {L"1 2", kNothing}, {L"0x10", kNothing},
      {L"３", kNothing},  {L"40000", kNothing}, {L"32768", kNothing}, {L"-32769", kNothing},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ReadSettingNumber(text), expected) << text;
}

TEST(ConvertToLong, RoundsHalvesToEvenAndFailsForNonNumbersAndValuesBeyond32Bits) {
  const std::pair<const wchar_t*, std::optional<std::int32_t>> cases[] = {
      {L"1234", 1234}, {L" 1234 ", 1234}, {L"2.5", 2}, {L"3.5", 4}, {L"-2.5", -2}, {L"2147483647", 2147483647},
      {L"", kNothing}, {L"1234x", kNothing}, {L"2147483648", kNothing},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ConvertToLong(text), expected) << text;
}

TEST(NumberText, PrecedesNonNegativeNumbersWithABlank) {
  const std::pair<std::int32_t, const wchar_t*> cases[] = {
      {3, L" 3"}, {0, L" 0"}, {-1, L"-1"}, {32767, L" 32767"}, {-32768, L"-32768"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(NumberText(value), text);
}

}  // namespace
