// Any bytes as the settings file: every value the loader reads lands in the record as the number
// reader reads it (or as the default, or not at all), the folder is kept only when it is there,
// and what is saved loads back the same.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "fuzz/fuzz_support.h"
#include "images/image_scan.h"
#include "images/paths.h"
#include "settings/settings.h"

namespace {

constexpr std::uint32_t kReadOnly = 0x01, kHidden = 0x02, kArchive = 0x20;
const char kSection[] = "Section";

struct Key {
  const char* bytes;
  std::int16_t fallback;
};
// The numeric keys in Shift_JIS, as the file holds them, with the value a missing key gives.
const Key kChangeOrder{"\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE", 0};
const Key kImageSize{"\x89\xE6\x91\x9C\x82\xCC\xBB\xB2\xBD\xDE", 0};
const Key kKinds[] = {{"\x89\xE6\x91\x9C\x8E\xED\x97\xDE_0", 1},
                      {"\x89\xE6\x91\x9C\x8E\xED\x97\xDE_1", 1},
                      {"\x89\xE6\x91\x9C\x8E\xED\x97\xDE_2", 1},
                      {"\x89\xE6\x91\x9C\x8E\xED\x97\xDE_3", 1}};
const Key kSpeed{"\x91\xAC\x82\xB3", 1};
const char kFolderKey[] = "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE";

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An INI file read and written as the system's profile functions do: names without regard to
// ASCII case, values without the blanks around them and one pair of quotes, at most 255 bytes,
// the first of a repeated key. Bytes reach the program one to a character, which is all the
// number reader and the folder test need.
class IniFile : public ProfileFile {
 public:
  explicit IniFile(const std::string& bytes) {
    std::string section;
    for (std::size_t from = 0; from < bytes.size();) {
      std::size_t end = bytes.find('\n', from);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(from, end - from);
      from = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      line = Trimmed(line);
      if (!line.empty() && line[0] == '[') {
        section = line.substr(1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1);
        continue;
      }
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      lines_.push_back({section, Trimmed(line.substr(0, equals)), line.substr(equals + 1)});
    }
  }

  std::wstring ReadIniValue(const std::string& section, const std::string& key) override {
    for (const Line& line : lines_) {
      if (!SameName(line.section, section) || !SameName(line.key, key)) continue;
      std::string value = Trimmed(line.value);
      if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
      }
      return fuzz::ByteText(value.substr(0, 255));
    }
    return std::wstring();
  }

  void WriteIniValue(const std::string& section, const std::string& key, const std::wstring& value) override {
    std::string bytes;
    for (wchar_t c : value) bytes.push_back(static_cast<char>(c));
    for (Line& line : lines_) {
      if (SameName(line.section, section) && SameName(line.key, key)) {
        line.value = bytes;
        return;
      }
    }
    lines_.push_back({section, key, bytes});
  }

  std::string Text(const std::string& key) {
    std::wstring value = ReadIniValue(kSection, key);
    return std::string(value.begin(), value.end());
  }

 private:
  struct Line {
    std::string section, key, value;
  };
  std::vector<Line> lines_;
};

// Two folders of pictures of every kind and attribute, and a drive root.
class Disk : public DirectoryReader {
 public:
  Disk() {
    folders_[L"C:\\PICS"] = {{L".", 0x10},
                             {L"a.bmp", kArchive},
                             {L"B.JPG", kArchive},
                             {L"c.gif", kReadOnly},
                             {L"d.wmf", 0},
                             {L"e.jpg", kHidden},
                             {L"f.jpg", kReadOnly | kArchive}};
    folders_[L"C:"] = {{L"x.jpg", kArchive}, {L"Pics", 0x10}};
    folders_[L"\\\\SERVER\\SHARE"] = {{L".", 0x10}, {L"z.gif", 0}};
  }

  bool FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) override {
    const std::size_t separator = pattern.find_last_of(L'\\');
    if (separator == std::wstring::npos) return false;
    std::wstring folder = pattern.substr(0, separator);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    for (wchar_t& c : folder) c = static_cast<wchar_t>(std::towupper(c));
    const auto found = folders_.find(folder);
    if (found == folders_.end()) return false;
    std::wstring extension = pattern.substr(separator + 1);
    if (extension.empty() || extension[0] != L'*') return false;
    extension.erase(0, 1);
    for (const auto& [name, attributes] : found->second) {
      if ((attributes & kHidden) || ((attributes & 0x10) && !includeDirectories)) continue;
      std::wstring upper = name, wanted = extension;
      for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
      for (wchar_t& c : wanted) c = static_cast<wchar_t>(std::towupper(c));
      const bool matches = wanted == L".*" || (upper.size() >= wanted.size() &&
                                               upper.compare(upper.size() - wanted.size(), wanted.size(), wanted) == 0);
      if (matches && !onName(name, attributes)) break;
    }
    return true;
  }

 private:
  std::map<std::wstring, std::vector<std::pair<std::wstring, std::uint32_t>>> folders_;
};

void CheckNumber(IniFile& file, const Key& key, std::int16_t before, std::int16_t loaded) {
  const std::wstring text = file.ReadIniValue(kSection, key.bytes);
  if (text.empty()) {
    fuzz::Require(loaded == key.fallback, "a missing value gives the default");
  } else if (const std::optional<std::int16_t> number = ReadSettingNumber(text)) {
    fuzz::Require(loaded == *number, "a value loads as the number it reads as");
  } else {
    fuzz::Require(loaded == before, "an unreadable value leaves the field as it was");
  }
}

// Values a load never gives by default, so that a field left alone shows.
CommonModule Marked() {
  CommonModule common;
  common.settings.ChangeOrder = common.settings.ImageSize = common.settings.Speed = 4321;
  common.settings.ImageKind = {4321, 4321, 4321, 4321};
  common.images.ImageCount = 1234;
  return common;
}

void CheckImages(const CommonModule& common, Disk& disk) {
  const SettingsRecord& settings = common.settings;
  const ImageList& images = common.images;
  fuzz::Require(images.ImageCount >= 0 && static_cast<std::size_t>(images.ImageCount) < images.ImageFiles.size(),
                "a count within the list");
  if (settings.ImageFolder.empty()) {
    fuzz::Require(images.ImageCount == 0, "no pictures without a folder");
    return;
  }
  fuzz::Require(FolderExists(settings.ImageFolder, disk), "only a folder that is there is kept");
  const std::wstring dir = FolderPart(settings.ImageFolder + kImagePatternSuffixes[0]) + L"\\";
  for (std::int16_t i = 1; i <= images.ImageCount; ++i) {
    const std::wstring& path = images.ImageFiles[static_cast<std::size_t>(i)];
    fuzz::Require(path.compare(0, dir.size(), dir) == 0 && path.find(L'\\', dir.size()) == std::wstring::npos,
                  "each picture is a name in the folder");
    bool enabled = false;
    for (std::size_t kind = 0; kind < kImagePatternSuffixes.size(); ++kind) {
      std::wstring extension = kImagePatternSuffixes[kind] + 2, upper = path;
      for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
      for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towupper(c));
      if (settings.ImageKind[kind] == 1 && upper.size() >= extension.size() &&
          upper.compare(upper.size() - extension.size(), extension.size(), extension) == 0) {
        enabled = true;
      }
    }
    fuzz::Require(enabled, "each picture of a kind switched on");
    if (i > 1) fuzz::Require(images.ImageFiles[static_cast<std::size_t>(i) - 1] < path, "the pictures in order");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniFile file(std::string(reinterpret_cast<const char*>(data), size));
  Disk disk;
  CommonModule common = Marked();
  LoadSettings(common, file, disk);

  const SettingsRecord& loaded = common.settings;
  CheckNumber(file, kChangeOrder, 4321, loaded.ChangeOrder);
  CheckNumber(file, kImageSize, 4321, loaded.ImageSize);
  for (std::size_t n = 0; n < 4; ++n) CheckNumber(file, kKinds[n], 4321, loaded.ImageKind[n]);
  CheckNumber(file, kSpeed, 4321, loaded.Speed);
  const std::wstring folderText = file.ReadIniValue(kSection, kFolderKey);
  fuzz::Require(loaded.ImageFolder.empty() || loaded.ImageFolder == folderText, "the folder as the file holds it");
  CheckImages(common, disk);

  // Saved into a new file and loaded again, the record comes back as it was; a folder keeps its
  // text unless the profile functions would trim it.
  IniFile saved("");
  SettingsRecord toSave = loaded;
  SaveSettings(toSave, loaded.ImageFolder, loaded.Speed, saved);
  CommonModule again = Marked();
  LoadSettings(again, saved, disk);
  const SettingsRecord& reloaded = again.settings;
  fuzz::Require(reloaded.ChangeOrder == loaded.ChangeOrder && reloaded.ImageSize == loaded.ImageSize &&
                    reloaded.ImageKind == loaded.ImageKind && reloaded.Speed == loaded.Speed,
                "the saved numbers load back the same");
  const std::string folderBytes = saved.Text(kFolderKey);
  if (folderBytes.size() < 255 && Trimmed(folderBytes) == folderBytes && folderBytes.find('"') == std::string::npos &&
      folderBytes.find('\'') == std::string::npos) {
    fuzz::Require(reloaded.ImageFolder == loaded.ImageFolder && again.images.ImageCount == common.images.ImageCount,
                  "the saved folder loads back with the same pictures");
  }
  return 0;
}
