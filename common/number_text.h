// Numbers as the settings file holds them: read from a value text, written as a value text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A value text read as a number, rounded down towards minus infinity ("2.9" gives 2, "-0.5" gives -1).
// Accepted: blanks around, one sign, digits with an optional fraction, an optional exponent
// ("1e2", "2.5E-1"). Nothing when the text is not such a number or the result does not fit in 16 bits.
std::optional<std::int16_t> ReadSettingNumber(const std::wstring& text);

// The same number syntax, rounded to the nearest integer with halves going to the even one; nothing
// when the text is not a number or the result does not fit in 32 bits.
std::optional<std::int32_t> ConvertToLong(const std::wstring& text);

// The decimal text, preceded by a blank when not negative: " 3", " 0", "-1".
std::wstring NumberText(std::int32_t value);
