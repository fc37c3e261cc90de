#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "common/number_text.h"

namespace {

// Plain numbers, blanks in front, fractions and texts that are no number are also the hand-edited
// rows of LoadSettings' tests.
TEST(ReadSettingNumber, ReadsTheValueTextsOfTheSettingsFileRoundingDown) {
  const std::pair<const wchar_t*, std::int16_t> numbers[] = {
      {L"  7  ", 7}, {L"-0.5", -1}, {L"32767", 32767}, {L"-32768", -32768}, {L"1e2", 100}};
  for (const auto& [text, expected] : numbers) EXPECT_EQ(ReadSettingNumber(text), expected) << text;
  // Not numbers, or numbers that do not fit in 16 bits.
  for (const wchar_t* text : {L"", L"3a", L"1 2", L"0x10", L"３", L"32768", L"-32769"}) {
    EXPECT_FALSE(ReadSettingNumber(text)) << text;
  }
}

TEST(ConvertToLong, RoundsHalvesToEvenAndFailsForNonNumbersAndValuesBeyond32Bits) {
  const std::pair<const wchar_t*, std::int32_t> numbers[] = {
      {L" 1234 ", 1234}, {L"2.5", 2}, {L"3.5", 4}, {L"-2.5", -2}, {L"2147483647", 2147483647}};
  for (const auto& [text, expected] : numbers) EXPECT_EQ(ConvertToLong(text), expected) << text;
  for (const wchar_t* text : {L"", L"1234x", L"2147483648"}) EXPECT_FALSE(ConvertToLong(text)) << text;
}

TEST(NumberText, PrecedesNonNegativeNumbersWithABlank) {
  EXPECT_EQ(NumberText(3), L" 3");
  EXPECT_EQ(NumberText(0), L" 0");
  EXPECT_EQ(NumberText(-1), L"-1");
}

}  // namespace
