#include "images/image_scan.h"

#include <algorithm>
#include <limits>

#include "images/paths.h"

namespace {

// The bits that decide a pass: read-only, hidden, system, directory and archive. Bits the system
// adds on its own (compressed, not content indexed, offline and the like) say nothing about
// whether a file is a picture to show, so they must not hide it.
constexpr std::uint32_t kDecidingBits = 0x37;
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kArchive = 0x20;

constexpr std::int16_t kMaxImageCount = std::numeric_limits<std::int16_t>::max();

// Hands out the UTF-16 code units of a wide text one at a time, whatever the width of wchar_t.
class Utf16Units {
 public:
  Utf16Units(const wchar_t* next, const wchar_t* end) : next_(next), end_(end) {}
  bool Next(std::uint32_t& unit) {
    if (low_) {
      unit = low_;
      low_ = 0;
      return true;
    }
    if (next_ == end_) return false;
    std::uint32_t code = static_cast<std::uint32_t>(*next_++);
    if (code > 0xFFFF) {
      code -= 0x10000;
      unit = 0xD800 + ((code >> 10) & 0x3FF);
      low_ = 0xDC00 + (code & 0x3FF);
    } else {
      unit = code;
    }
    return true;
  }

 private:
  const wchar_t* next_;
  const wchar_t* end_;
  std::uint32_t low_ = 0;
};

// Ordinal order of the texts as UTF-16, so that a character beyond U+FFFF sorts by its high
// surrogate just as it does where wchar_t is 16 bits wide.
bool Utf16Less(const std::wstring& a, const std::wstring& b) {
  auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  Utf16Units left(a.data() + (differs.first - a.begin()), a.data() + a.size());
  Utf16Units right(b.data() + (differs.second - b.begin()), b.data() + b.size());
  for (;;) {
    std::uint32_t l = 0, r = 0;
    bool hasLeft = left.Next(l);
    bool hasRight = right.Next(r);
    if (!hasLeft || !hasRight) return !hasLeft && hasRight;
    if (l != r) return l < r;
  }
}

}  // namespace

bool AttributeAccepted(std::uint32_t attributes, std::int16_t scanAttribute) {
  std::uint32_t deciding = attributes & kDecidingBits;
  // Read-only files often carry the archive bit as well; the read-only pass takes them either way.
  if (scanAttribute == static_cast<std::int16_t>(kReadOnly)) {
    return deciding == kReadOnly || deciding == (kReadOnly | kArchive);
  }
  return deciding == static_cast<std::uint32_t>(scanAttribute);
}

bool FolderExists(const std::wstring& path, DirectoryReader& reader) {
  bool found = false;
  reader.FindNames(AddBackslash(path) + L"*.*", true, [&found](const std::wstring&, std::uint32_t) {
    found = true;
    return false;
  });
  return found;
}

void ScanImages(ImageList& list, const std::array<std::int16_t, 4>& imageKind, const std::wstring& folder,
                DirectoryReader& reader) {
  list.ImageCount = 0;
  if (folder.empty()) return;
  // Each search walks the whole folder under Wine, so each kind is searched once and its files
  // are dealt out to the passes, rather than searched again in every pass.
  std::array<PassFiles, kImagePatternSuffixes.size()> byKind;
  for (std::size_t kind = 0; kind < imageKind.size(); ++kind) {
    if (imageKind[kind] == 1) byKind[kind] = SearchPattern(folder + kImagePatternSuffixes[kind], reader);
  }
  for (std::size_t pass = 0; pass < kScanPasses.size(); ++pass) {
    list.ScanAttribute = kScanPasses[pass];
    for (const PassFiles& files : byKind) {
      for (const std::wstring& path : files[pass]) {
        if (list.ImageCount < 0 || list.ImageCount >= kMaxImageCount) break;
        ++list.ImageCount;
        list.ImageFiles.resize(static_cast<std::size_t>(list.ImageCount) + 1);
        list.ImageFiles[list.ImageCount] = path;
      }
    }
  }
  if (list.ImageCount > 1) SortImageFiles(list);
}

PassFiles SearchPattern(const std::wstring& pattern, DirectoryReader& reader) {
  const std::wstring dir = FolderPart(pattern) + L"\\";
  PassFiles files;
  reader.FindNames(pattern, false, [&](const std::wstring& name, std::uint32_t attributes) {
    for (std::size_t pass = 0; pass < kScanPasses.size(); ++pass) {
      // No pass can list more than the list holds.
      if (AttributeAccepted(attributes, kScanPasses[pass]) && files[pass].size() < kMaxImageCount) {
        files[pass].push_back(dir + name);
      }
    }
    return true;
  });
  return files;
}

void SortImageFiles(ImageList& list) {
  if (list.ImageCount < 2 || list.ImageFiles.size() < 2) return;
  std::size_t count = std::min(static_cast<std::size_t>(list.ImageCount), list.ImageFiles.size() - 1);
  std::sort(list.ImageFiles.begin() + 1, list.ImageFiles.begin() + 1 + static_cast<std::ptrdiff_t>(count),
            Utf16Less);
}
