#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "startup/number_text.h"

namespace {

struct ReadCase {
  const wchar_t* text;
  std::optional<std::int16_t> expected;
};

TEST(ReadSettingNumber, ReadsTheValueTextsOfTheSettingsFile) {
  const ReadCase cases[] = {
      {L"3", 3},          {L" 3", 3},          {L"-1", -1},        {L"  7  ", 7},     {L"\t2\t", 2},
      {L"+4", 4},         {L"0", 0},           {L"-0", 0},         {L"007", 7},       {L"2.9", 2},
      {L"2.7", 2},        {L"-0.5", -1},       {L"-2.0", -2},      {L"-2.000001", -3}, {L".5", 0},
      {L"5.", 5},         {L"-.5", -1},        {L"32767", 32767},  {L"-32768", -32768},
      {L"32767.99", 32767}, {L"-32767.5", -32768}, {L"1e2", 100}, {L"2.5E-1", 0},   {L"-1e-9", -1},
      {L"0e99999999999", 0}, {L"3e+0", 3},
      {L"2.9999999999999999999", 2},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(ReadSettingNumber(c.text), c.expected) << c.text;
}

TEST(ReadSettingNumber, RejectsTextsThatAreNotNumbersOrDoNotFit) {
  const wchar_t* texts[] = {
      L"",       L" ",     L"abc",   L"3a",      L"a3",     L"- 3",    L"+",      L"-",      L".",
      L"1.2.3",  L"1e",    L"1e+",   L"e5",      L"1 2",    L"0x10",   L"1,000",  L"３",     L"40000",
      L"32768",  L"-32769", L"-32768.5", L"1e5", L"1e999999999999", L"99999999999999999999",
  };
  for (const wchar_t* text : texts) EXPECT_EQ(ReadSettingNumber(text), std::nullopt) << text;
}

TEST(ConvertToLong, RoundsHalvesToEven) {
  const std::pair<const wchar_t*, std::int32_t> cases[] = {
      {L"1234", 1234},        {L" 1234 ", 1234},       {L"0.5", 0},   {L"1.5", 2},    {L"2.5", 2},
      {L"2.50001", 3},        {L"2.49999", 2},         {L"-2.5", -2}, {L"-3.5", -4},  {L"-0.4", 0},
      {L"0.0000001", 0},      {L"2147483647", 2147483647}, {L"-2147483648", INT32_MIN},
      {L"2147483646.5", 2147483646}, {L"1.5e3", 1500},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ConvertToLong(text), expected);
}

TEST(ConvertToLong, FailsForNonNumbersAndValuesBeyond32Bits) {
  const wchar_t* texts[] = {L"", L"1234x", L"x", L"2147483648", L"2147483647.5", L"-2147483649", L"1e10"};
  for (const wchar_t* text : texts) EXPECT_EQ(ConvertToLong(text), std::nullopt);
}

TEST(NumberText, PrecedesNonNegativeNumbersWithABlank) {
  EXPECT_EQ(NumberText(3), L" 3");
  EXPECT_EQ(NumberText(0), L" 0");
  EXPECT_EQ(NumberText(-1), L"-1");
  EXPECT_EQ(NumberText(32767), L" 32767");
  EXPECT_EQ(NumberText(-32768), L"-32768");
}

TEST(NumberText, ReadsBackAsTheSameNumber) {
  for (int value : {-32768, -300, -1, 0, 1, 2, 3, 255, 32767}) {
    EXPECT_EQ(ReadSettingNumber(NumberText(value)), value);
  }
}

}  // namespace
