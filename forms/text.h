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

// The text in codePage exactly as it is: nothing when the code page lacks one of its characters
// (rather than a default character or a look-alike, which would name another file).
std::optional<std::string> ToCodePageExactly(const std::wstring& text, UINT codePage);

// A path as the ANSI functions take it: as it is where the ANSI code page can say it, otherwise its
// short (8.3) form, which only a file system without short names lacks; for a file not made yet,
// its folder's short form and its name. Nothing when even that cannot be said.
std::optional<std::string> AnsiPath(const std::wstring& path);

// A path read back from an ANSI text: its short components (those with a "~") spelt out again
// where they name something that exists; otherwise the path as it is.
std::wstring LongPath(const std::wstring& path);

// The bytes of codePage as a wide text.
std::wstring FromCodePage(const std::string& bytes, UINT codePage);

// The longest start of bytes that has at most maxBytes bytes and does not end inside a double-byte
// character of codePage.
std::string WholeCharacters(const std::string& bytes, std::size_t maxBytes, UINT codePage);

}  // namespace forms
