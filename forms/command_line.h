// Taking the program's own path off its command line; the argument string that is left is what
// every mode reads its switch from.
#pragma once

#include <string>

namespace forms {

// What follows the program's own path (quoted or not) and the one blank after it, exactly as the
// host passed it: further blanks stay, so " /s" keeps its leading blank.
std::wstring ArgumentString(const std::wstring& commandLine);

}  // namespace forms
