#include "images/shown_name.h"

std::wstring ShownName(const std::wstring& path, DirectoryReader& reader) {
  std::wstring shown;
  reader.FindNames(path, false, [&shown](const std::wstring& name, std::uint32_t) {
    shown = name;
    return false;
  });
  return shown;
}
