// Reading the switch the host starts the program with. The argument string is read again from the
// command line wherever it is needed; these functions only take it apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What follows the program's own path (quoted or not) and the one blank after it, exactly as the
// host passed it: further blanks stay, so " /s" keeps its leading blank.
std::wstring ArgumentString(const std::wstring& commandLine);

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
