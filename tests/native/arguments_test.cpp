#include "common/arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

TEST(ArgumentString, TakesWhatFollowsTheProgramPathAndOneBlank) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"\"C:\\Program Files\\rubblit.scr\" /s", L"/s"},
      {L"\"C:\\Program Files\\rubblit.scr\"  /s", L" /s"},
      {L"\"C:\\Program Files\\rubblit.scr\"", L""},
      {L"\"C:\\a b\\rubblit.scr\"/p 1234", L"/p 1234"},
      {L"C:\\WINDOWS\\RUBBLIT.SCR /p 1234", L"/p 1234"},
      {L"C:\\WINDOWS\\RUBBLIT.SCR\t/c:4567", L"/c:4567"},
      {L"rubblit.scr /a 12 ", L"/a 12 "},
  };
  for (const auto& [commandLine, expected] : cases) EXPECT_EQ(ArgumentString(commandLine), expected) << commandLine;
}

TEST(ModeLetter, IsTheUpperCasedSecondCharacterWithTheHandleFieldFromTheFourth) {
  struct Case {
    const wchar_t* arguments;
    const wchar_t* mode;
    const wchar_t* field;
  };
  const Case cases[] = {
      {L"/S", L"S", L""},          {L"xs", L"S", L""},          {L" /s", L"/", L""},       {L"x", L"", L""},
      {L"/p 1234", L"P", L"1234"}, {L"/p:1234", L"P", L"1234"}, {L"/p1234", L"P", L"234"}, {L"/p", L"P", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModeLetter(c.arguments), c.mode) << c.arguments;
    EXPECT_EQ(WindowHandleField(c.arguments), c.field) << c.arguments;
  }
}

TEST(ReadLeadingNumber, ReadsTheNumericPrefixAndRoundsHalvesToEven) {
  const std::pair<const wchar_t*, std::int32_t> numbers[] = {
      {L"  1234", 1234}, {L"1234abc", 1234},         {L"abc", 0}, {L"-42", -42}, {L"2.5", 2},
      {L"3.5", 4},       {L"2147483647", 2147483647}};
  for (const auto& [text, expected] : numbers) EXPECT_EQ(ReadLeadingNumber(text), expected) << text;
  for (const wchar_t* text : {L"2147483648", L"99999999999999999999999999999999999999"}) {
    EXPECT_FALSE(ReadLeadingNumber(text)) << text;
  }
}

}  // namespace
