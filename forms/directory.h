// The file system as the image scan sees it: wildcard searches and attribute bits.
#pragma once

#include "images/directory_reader.h"

namespace forms {

class FileSystemDirectory : public DirectoryReader {
 public:
  bool FindNames(const std::wstring& pattern, bool includeDirectories,
                 const std::function<bool(const std::wstring& name)>& onName) override;
  std::optional<std::uint32_t> FileAttributes(const std::wstring& path) override;
};

}  // namespace forms
