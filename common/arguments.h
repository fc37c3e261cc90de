// Reading the switch the host starts the program with. The argument string is read again from the
// command line wherever it is needed; these functions only take it apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "forms/command_line.h"

using forms::ArgumentString;

// The second character of the argument string, upper-cased; empty when there are fewer than two.
// The first character is not looked at, so "/s", "-s" and "xs" all give "S".
std::wstring ModeLetter(const std::wstring& argumentString);

// The argument string from its fourth character on, as passed: "/p 1234" and "/p:1234" give
// "1234", "/p1234" gives "234".
std::wstring WindowHandleField(const std::wstring& argumentString);

// The number at the start of text: leading blanks skipped, then the longest prefix of an optional
// sign, digits and a fraction, read as a decimal and rounded to a 32-bit integer (halves to even).
// No number at all gives 0; a number that does not fit in 32 bits gives nothing.
std::optional<std::int32_t> ReadLeadingNumber(const std::wstring& text);
