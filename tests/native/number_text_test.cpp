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
      {L"3", 3},          {L" 3", 3},           {L"-1", -1},           {L"  7  ", 7},       {L"\t2\t", 2},
      {L"+4", 4},         {L"-0", 0},           {L"007", 7},           {L"2.9", 2},         {L"-0.5", -1},
      {L"-2.0", -2},      {L"-2.000001", -3},   {L".5", 0},            {L"5.", 5},          {L"-.5", -1},
      {L"32767", 32767},  {L"-32768", -32768},  {L"32767.99", 32767},  {L"-32767.5", -32768},
      {L"1e2", 100},      {L"2.5E-1", 0},       {L"-1e-9", -1},        {L"0e99999999999", 0}, {L"3e+0", 3},
      {L"2.9999999999999999999", 2},
      // Not numbers, or numbers that do not fit in 16 bits.
      {L"", kNothing},    {L" ", kNothing},     {L"abc", kNothing},    {L"3a", kNothing},   {L"a3", kNothing},
      {L"- 3", kNothing}, {L"+", kNothing},     {L"-", kNothing},      {L".", kNothing},    {L"1.2.3", kNothing},
      {L"1e", kNothing},  {L"1e+", kNothing},   {L"e5", kNothing},     {L"1 2", kNothing},  {L"0x10", kNothing},
      {L"1,000", kNothing}, {L"３", kNothing},  {L"40000", kNothing},  {L"32768", kNothing}, {L"-32769", kNothing},
      {L"-32768.5", kNothing}, {L"1e5", kNothing}, {L"1e999999999999", kNothing}, {L"99999999999999999999", kNothing},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ReadSettingNumber(text), expected) << text;
}

TEST(ConvertToLong, RoundsHalvesToEvenAndFailsForNonNumbersAndValuesBeyond32Bits) {
  const std::pair<const wchar_t*, std::optional<std::int32_t>> cases[] = {
      {L"1234", 1234},   {L" 1234 ", 1234},      {L"0.5", 0},           {L"1.5", 2},       {L"2.5", 2},
      {L"2.50001", 3},   {L"2.49999", 2},        {L"-2.5", -2},         {L"-3.5", -4},     {L"-0.4", 0},
      {L"0.0000001", 0}, {L"2147483647", 2147483647}, {L"-2147483648", INT32_MIN}, {L"2147483646.5", 2147483646},
      {L"1.5e3", 1500},  {L"", kNothing},        {L"1234x", kNothing},  {L"x", kNothing},  {L"2147483648", kNothing},
      {L"2147483647.5", kNothing}, {L"-2147483649", kNothing}, {L"1e10", kNothing},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ConvertToLong(text), expected) << text;
}

TEST(NumberText, PrecedesNonNegativeNumbersWithABlank) {
  const std::pair<std::int32_t, const wchar_t*> cases[] = {
      {3, L" 3"}, {0, L" 0"}, {-1, L"-1"}, {32767, L" 32767"}, {-32768, L"-32768"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(NumberText(value), text);
}

}  // namespace
