#include "images/shown_name.h"

#include <cwctype>
#include <unordered_map>

#include "images/paths.h"

namespace {

// Names on disk are found without regard to case.
std::wstring Folded(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

}  // namespace

std::wstring ShownName(const std::wstring& path, DirectoryReader& reader) {
  std::wstring shown;
  reader.FindNames(path, false, [&shown](const std::wstring& name, std::uint32_t) {
    shown = name;
    return false;
  });
  return shown;
}

std::vector<std::wstring> ShownNames(const std::vector<std::wstring>& paths, std::size_t first, std::size_t count,
                                     DirectoryReader& reader) {
  std::vector<std::wstring> shown;
  std::wstring folder;
  bool searched = false;
  std::unordered_map<std::wstring, std::wstring> onDisk;
  for (std::size_t i = first; i < first + count && i < paths.size(); ++i) {
    const std::wstring& path = paths[i];
    const std::wstring pathFolder = FolderPart(path);
    // A path that names no file in a folder, such as a wildcard, is asked for on its own.
    const std::wstring name = path.substr(path.find_last_of(L":\\") + 1);
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) {
      shown.push_back(ShownName(path, reader));
      continue;
    }
    if (!searched || pathFolder != folder) {
      folder = pathFolder;
      onDisk.clear();
      searched = reader.FindNames(folder + L"\\*", false, [&onDisk](const std::wstring& found, std::uint32_t) {
        onDisk.emplace(Folded(found), found);
        return true;
      });
      if (!searched) {
        shown.push_back(ShownName(path, reader));
        continue;
      }
    }
    const auto found = onDisk.find(Folded(name));
    shown.push_back(found == onDisk.end() ? std::wstring() : found->second);
  }
  return shown;
}
