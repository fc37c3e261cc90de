#include "forms/command_line.h"

#include <cstddef>

namespace forms {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring ArgumentString(const std::wstring& commandLine) {
  std::size_t end = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    std::size_t closing = commandLine.find(L'"', 1);
    if (closing == std::wstring::npos) return std::wstring();
    end = closing + 1;
  } else {
    while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
  }
  if (end < commandLine.size() && IsBlank(commandLine[end])) ++end;
  return commandLine.substr(end);
}

}  // namespace forms
