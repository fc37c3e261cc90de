// Any texts as folder paths and file paths, as the settings file and the folder browser hand them
// over: the folder part, the trailing backslash, the settings file beside a program, and the
// names the dialog lists, which must not depend on whether they are looked up one by one or a
// folder at a time.
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "images/paths.h"
#include "images/shown_name.h"
#include "settings/settings_path.h"

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& start) {
  return text.compare(0, start.size(), start) == 0;
}

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// The folder a search pattern looks in, without trailing separators, so "C:\" and "C:" are one.
std::wstring FolderKey(const std::wstring& pattern) {
  const std::size_t separator = pattern.find_last_of(L'\\');
  std::wstring folder = separator == std::wstring::npos ? std::wstring() : pattern.substr(0, separator);
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return Upper(folder);
}

// The system's wildcards, without regard to case: "*" any run of characters, "?" any one.
bool Matches(const std::wstring& pattern, const std::wstring& name) {
  std::size_t p = 0, n = 0, star = std::wstring::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == L'?' || std::towupper(pattern[p]) == std::towupper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// Folders in memory, searched as the system searches them.
class Disk : public DirectoryReader {
 public:
  void Add(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L'\\');
    if (separator != std::wstring::npos) folders_[FolderKey(path)].push_back(path.substr(separator + 1));
  }

  bool FindNames(const std::wstring& pattern, bool, const OnName& onName) override {
    const auto folder = folders_.find(FolderKey(pattern));
    if (folder == folders_.end()) return false;
    const std::wstring wanted = pattern.substr(pattern.find_last_of(L'\\') + 1);
    for (const std::wstring& name : folder->second) {
      if (Matches(wanted, name) && !onName(name, 0x20)) break;
    }
    return true;
  }

 private:
  std::map<std::wstring, std::vector<std::wstring>> folders_;
};

void CheckFolderPart(const std::wstring& path) {
  const std::wstring folder = FolderPart(path);
  fuzz::Require(StartsWith(path, folder), "the folder part starts the path");
  std::wstring rest = path.substr(folder.size());
  if (!rest.empty() && rest[0] == L'\\') rest.erase(0, 1);
  fuzz::Require(rest.find_first_of(L":\\") == std::wstring::npos, "the folder part ends at the last separator");
  fuzz::Require(rest.size() + folder.size() < path.size() || folder.empty() || folder.back() == L':' ||
                    path.find_first_of(L":\\") == std::wstring::npos,
                "the folder part drops at most one backslash and keeps a colon");
}

void CheckAddBackslash(const std::wstring& path) {
  const std::wstring added = AddBackslash(path);
  fuzz::Require(!added.empty() && added.back() == L'\\', "a path ending in a backslash");
  fuzz::Require(AddBackslash(added) == added, "a backslash added once");
  std::wstring trimmed = path.substr(0, path.find_last_not_of(L' ') + 1);
  if (path.find_last_not_of(L' ') == std::wstring::npos) trimmed.clear();
  fuzz::Require(added == trimmed || added == trimmed + L"\\", "the path without its trailing spaces");
}

void CheckSettingsFile(const std::wstring& program) {
  const std::wstring file = SettingsFilePathFor(program);
  const std::wstring name = L"\\Rubblit.ini";
  fuzz::Require(file.size() >= name.size() && file.compare(file.size() - name.size(), name.size(), name) == 0,
                "the settings file is Rubblit.ini");
  std::wstring folder = file.substr(0, file.size() - name.size());
  if (folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\') folder.pop_back();
  fuzz::Require(StartsWith(program, folder) && (folder.empty() || program[folder.size()] == L'\\'),
                "the settings file lies in the program's folder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t first = data[0] % 8, count = data[1] % 16;
  const std::wstring text = fuzz::WideText(data + 2, size - 2);

  std::vector<std::wstring> paths;
  for (std::size_t from = 0;;) {
    const std::size_t end = text.find(L'\n', from);
    paths.push_back(text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from));
    if (end == std::wstring::npos) break;
    from = end + 1;
  }

  Disk disk;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    CheckFolderPart(paths[i]);
    CheckAddBackslash(paths[i]);
    CheckSettingsFile(paths[i]);
    if (i % 2 == 0) disk.Add(paths[i]);  // every other path names a file that is there
  }

  const std::vector<std::wstring> shown = ShownNames(paths, first, count, disk);
  const std::size_t expected = first >= paths.size() ? 0 : std::min(count, paths.size() - first);
  fuzz::Require(shown.size() == expected, "one name for each path asked for");
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const std::wstring& path = paths[first + i];
    // A scan's path is a folder, a backslash and a name as the disk stores it, which holds no colon.
    const std::size_t separator = path.find_last_of(L'\\');
    if (separator == std::wstring::npos || path.find(L':', separator) != std::wstring::npos) continue;
    fuzz::Require(shown[i] == ShownName(path, disk), "a folder's names are those of one search per path");
  }
  return 0;
}
