#include "images/shown_name.h"

std::wstring ShownName(const std::wstring& path, DirectoryReader& reader) {
  std::wstring shown;
  reader.FindNames(path, false, [&shown](const std::wstring& name) {
    shown = name;
    return false;
  });
  return shown;
}
