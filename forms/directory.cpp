#include "forms/directory.h"

#include <windows.h>

#include "forms/handles.h"

namespace forms {

namespace {

bool Listed(const WIN32_FIND_DATAW& found, bool includeDirectories) {
  if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return false;
  return includeDirectories || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool FileSystemDirectory::FindNames(const std::wstring& pattern, bool includeDirectories,
                                    const std::function<bool(const std::wstring& name)>& onName) {
  WIN32_FIND_DATAW found;
  FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search.valid()) {
    // A pattern that matches nothing is a search that found nothing, not one that failed.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    if (Listed(found, includeDirectories) && !onName(found.cFileName)) return true;
  } while (::FindNextFileW(search.get(), &found));
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::optional<std::uint32_t> FileSystemDirectory::FileAttributes(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributes == FILE_ATTRIBUTE_NORMAL) return 0;
  return attributes;
}

}  // namespace forms
