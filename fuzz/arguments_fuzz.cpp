// Any text as the command line the host starts the program with: the argument string, its mode
// letter, its window-handle field and the handle read from it.
#include <optional>
#include <string>

#include "common/arguments.h"
#include "common/number_text.h"
#include "fuzz/fuzz_support.h"

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return end.size() <= text.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = fuzz::WideText(data, size);

  // The text as a whole command line, and as the argument string of the program's path with and
  // without quotes, the way the system starts a screen saver.
  const std::wstring arguments = ArgumentString(text);
  fuzz::Require(EndsWith(text, arguments), "the argument string ends the command line");
  fuzz::Require(ArgumentString(L"rubblit.scr " + text) == text, "the arguments after a plain path");
  fuzz::Require(ArgumentString(L"\"C:\\Program Files\\rubblit.scr\" " + text) == text,
                "the arguments after a quoted path");

  const std::wstring letter = ModeLetter(text);
  fuzz::Require(letter.size() == (text.size() >= 2 ? 1u : 0u), "one letter from two characters on");
  if (!letter.empty()) {
    const wchar_t second = text[1];
    const wchar_t upper = second >= L'a' && second <= L'z' ? second - L'a' + L'A' : second;
    fuzz::Require(letter[0] == upper, "the second character upper-cased");
  }
  const std::wstring field = WindowHandleField(text);
  fuzz::Require(field.size() == (text.size() > 3 ? text.size() - 3 : 0) && EndsWith(text, field),
                "the field from the fourth character on");

  const std::optional<std::int32_t> handle = ReadLeadingNumber(field);
  if (handle) fuzz::Require(ReadLeadingNumber(std::to_wstring(*handle)) == handle, "a handle prints back to itself");
  fuzz::Require(ReadLeadingNumber(field + L"x") == handle, "nothing after the number counts");
  // Where the whole field is a plain decimal, reading its start rounds it as reading all of it does.
  if (field.find_first_of(L"eE") == std::wstring::npos) {
    if (const std::optional<std::int32_t> whole = ConvertToLong(field)) {
      fuzz::Require(handle == whole, "the leading number of a plain decimal is that decimal");
    }
  }
  return 0;
}
