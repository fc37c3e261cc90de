// What the harnesses share: the fuzzer's bytes as the program's wide texts, and a wrong answer
// failing as loudly as a crash does (libFuzzer keeps the input that aborts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void Wrong(const char* what) {
  std::fprintf(stderr, "wrong answer: %s\n", what);
  std::abort();
}

inline void Require(bool holds, const char* what) {
  if (!holds) Wrong(what);
}

// UTF-8 where the bytes are UTF-8 and any other byte as the character of the same value, so that
// every byte string is a text and the fuzzer reaches characters beyond ASCII without trying.
inline std::wstring WideText(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t lead = data[i];
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4  ? 4
                               : lead >= 0xE0                ? 3
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                                                             : 1;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool whole = length > 1 && i + length <= size;
    for (std::size_t k = 1; whole && k < length; ++k) {
      if ((data[i + k] & 0xC0) != 0x80) whole = false;
      code = (code << 6) | (data[i + k] & 0x3F);
    }
    if (length > 1 && (!whole || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
      text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    text.push_back(static_cast<wchar_t>(code));
    i += length;
  }
  return text;
}

// One character per byte, as a single-byte code page's texts arrive.
inline std::wstring ByteText(const std::string& bytes) {
  std::wstring text;
  for (unsigned char byte : bytes) text.push_back(static_cast<wchar_t>(byte));
  return text;
}

}  // namespace fuzz
