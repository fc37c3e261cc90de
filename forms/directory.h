// The file system as the image scan sees it: wildcard searches with the attribute bits they report.
#pragma once

#include <windows.h>

#include "forms/directory_reader.h"

namespace forms {

class FileSystemDirectory : public DirectoryReader {
 public:
  bool FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) override;
  // The system's error code of the last search that failed.
  DWORD LastError() const { return lastError_; }

 private:
  // True when the search ended with the error that means it simply ran out; otherwise keeps error.
  bool Succeeded(DWORD error, DWORD expected);
  DWORD lastError_ = ERROR_SUCCESS;
};

}  // namespace forms
