// What the image scan needs of the file system. The Win32 implementation lives in forms/; tests
// may supply their own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class DirectoryReader {
 public:
  virtual ~DirectoryReader() = default;
  // Runs a wildcard search and calls onName with each name it returns, in the system's order,
  // while onName returns true. Hidden and system entries are skipped by the search itself, and
  // directories too unless includeDirectories. Returns false when the search could not be made
  // (or failed part way).
  virtual bool FindNames(const std::wstring& pattern, bool includeDirectories,
                         const std::function<bool(const std::wstring& name)>& onName) = 0;
  // A file's attribute bits as the system reports them, with "normal" reported as 0;
  // nothing when they cannot be read.
  virtual std::optional<std::uint32_t> FileAttributes(const std::wstring& path) = 0;
};
