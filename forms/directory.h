// The file system as the image scan sees it: wildcard searches with the attribute bits they report.
#pragma once

#include "images/directory_reader.h"

namespace forms {

class FileSystemDirectory : public DirectoryReader {
 public:
  bool FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) override;
};

}  // namespace forms
