// Conversions between the program's wide texts and the byte texts of the platform's A functions.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace forms {

// The text in codePage; a character the code page lacks becomes its default character. Nothing when
// the code page is not available.
std::optional<std::string> ToCodePage(const std::wstring& text, UINT codePage);

// The bytes of codePage as a wide text.
std::wstring FromCodePage(const std::string& bytes, UINT codePage);

// The longest start of bytes that has at most maxBytes bytes and does not end inside a double-byte
// character of codePage.
std::string WholeCharacters(const std::string& bytes, std::size_t maxBytes, UINT codePage);

}  // namespace forms
