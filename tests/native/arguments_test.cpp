#include "startup/arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(ArgumentString, TakesWhatFollowsTheProgramPathAndOneBlank) {
  struct Case {
    const wchar_t* commandLine;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"\"C:\\Program Files\\rubblit.scr\" /s", L"/s"},
      {L"\"C:\\Program Files\\rubblit.scr\"  /s", L" /s"},
      {L"\"C:\\Program Files\\rubblit.scr\"", L""},
      {L"\"C:\\Program Files\\rubblit.scr\" ", L""},
      {L"\"C:\\a b\\rubblit.scr\"/p 1234", L"/p 1234"},
      {L"\"C:\\unclosed quote /s", L""},
      {L"C:\\WINDOWS\\RUBBLIT.SCR /p 1234", L"/p 1234"},
      {L"C:\\WINDOWS\\RUBBLIT.SCR\t/c:4567", L"/c:4567"},
      {L"rubblit.scr", L""},
      {L"rubblit.scr /a 12 ", L"/a 12 "},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentString(c.commandLine), c.expected) << c.commandLine;
}

TEST(ModeLetter, IsTheUpperCasedSecondCharacterWithTheHandleFieldFromTheFourth) {
  struct Case {
    const wchar_t* arguments;
    const wchar_t* mode;
    const wchar_t* field;
  };
  const Case cases[] = {
      {L"/s", L"S", L""},        {L"/S", L"S", L""},           {L"-s", L"S", L""},
      {L"xs", L"S", L""},        {L" /s", L"/", L""},          {L"", L"", L""},
      {L"x", L"", L""},          {L"/p 1234", L"P", L"1234"},  {L"/p:1234", L"P", L"1234"},
      {L"/p1234", L"P", L"234"}, {L"/c:4567", L"C", L"4567"},  {L"/p", L"P", L""},
      {L"/a 99", L"A", L"99"},   {L"/P:Ab c", L"P", L"Ab c"},  {L"/\u00e9", L"\u00e9", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModeLetter(c.arguments), c.mode) << c.arguments;
    EXPECT_EQ(WindowHandleField(c.arguments), c.field) << c.arguments;
  }
}

TEST(ReadLeadingNumber, ReadsTheNumericPrefixAndRoundsHalvesToEven) {
  struct Case {
    const wchar_t* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {L"1234", 1234},  {L"  1234", 1234}, {L"1234abc", 1234}, {L"abc", 0},   {L"", 0},
      {L"-42", -42},    {L"2.5", 2},       {L"3.5", 4},        {L"2147483647", 2147483647},
      {L"2147483648", std::nullopt},       {L"99999999999999999999999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLeadingNumber(c.text), c.expected) << c.text;
}

}  // namespace
