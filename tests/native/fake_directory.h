// Folders in memory for the image scan and the settings load, in place of the file system.
#pragma once

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms/directory_reader.h"

namespace {

constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kDirectory = 0x10, kArchive = 0x20,
                        kCompressed = 0x800;

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring NamePart(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// The folder text before the last separator, without trailing separators, so that "C:\" and "C:"
// name the same folder just as they do to the system.
std::wstring FolderKey(const std::wstring& path) {
  std::wstring folder = path.substr(0, std::min(path.size(), path.find_last_of(L'\\')));
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// Folders in memory. Names come back in the order they were added and match without regard to
// case; the search skips hidden and system entries, and directories unless asked, as the
// system's search does.
class FakeDirectory : public DirectoryReader {
 public:
  void Add(const std::wstring& folder, const std::wstring& name, std::uint32_t attributes) {
    folders_[FolderKey(folder + L"\\")].push_back({name, attributes});
  }

  bool FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) override {
    searches.push_back(pattern);
    auto folder = folders_.find(FolderKey(pattern));
    if (failingPatterns.count(pattern) || folder == folders_.end()) return false;
    const std::wstring extension = Lower(NamePart(pattern).substr(1));
    for (const Entry& entry : folder->second) {
      if (entry.attributes & (kHidden | kSystem)) continue;
      if ((entry.attributes & kDirectory) && !includeDirectories) continue;
      const std::wstring name = Lower(entry.name);
      const bool matches =
          extension == L".*" || (name.size() >= extension.size() &&
                                 name.compare(name.size() - extension.size(), extension.size(), extension) == 0);
      if (matches && !onName(entry.name, entry.attributes)) break;
    }
    return true;
  }

  std::vector<std::wstring> searches;
  std::set<std::wstring> failingPatterns;

 private:
  struct Entry {
    std::wstring name;
    std::uint32_t attributes;
  };
  std::map<std::wstring, std::vector<Entry>> folders_;
};

}  // namespace
