// What the image scan needs of the file system. The Win32 implementation is forms/directory.cpp; tests
// may supply their own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class DirectoryReader {
 public:
  // Called with each name a search returns and the attribute bits the search reported with it
  // ("normal" reported as 0); returns false to stop the search.
  using OnName = std::function<bool(const std::wstring& name, std::uint32_t attributes)>;

  virtual ~DirectoryReader() = default;
  // Runs a wildcard search and calls onName with each name it returns, in the system's order,
  // while onName returns true. Hidden and system entries are skipped by the search itself, and
  // directories too unless includeDirectories. Returns false when the search could not be made
  // (or failed part way).
  virtual bool FindNames(const std::wstring& pattern, bool includeDirectories, const OnName& onName) = 0;
};
