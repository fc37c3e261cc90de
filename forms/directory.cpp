#include "forms/directory.h"

#include <windows.h>

#include "forms/handles.h"

namespace forms {

namespace {

bool Listed(const WIN32_FIND_DATAW& found, bool includeDirectories) {
  if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return false;
  return includeDirectories || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The search reports the same bits as an attribute query of the file, which under Wine costs a
// second walk through the folder per file; "normal" stands for no bit at all.
std::uint32_t AttributeValue(DWORD attributes) { return attributes == FILE_ATTRIBUTE_NORMAL ? 0 : attributes; }

}  // namespace

bool FileSystemDirectory::FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) {
  WIN32_FIND_DATAW found;
  FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search.valid()) {
    // A pattern that matches nothing is a search that found nothing, not one that failed.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    if (Listed(found, includeDirectories) && !onName(found.cFileName, AttributeValue(found.dwFileAttributes))) {
      return true;
    }
  } while (::FindNextFileW(search.get(), &found));
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace forms
