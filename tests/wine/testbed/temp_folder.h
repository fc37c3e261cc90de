// A folder of its own for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace testbed {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  void WriteBytes(const std::wstring& name, const std::string& bytes) const;
  std::string ReadBytes(const std::wstring& name) const;
  bool Exists(const std::wstring& name) const;
  // Copies the freshly built rubblit.scr here, so that its settings file is this folder's.
  std::wstring CopySaverHere() const;

 private:
  std::wstring path_;
};

// The folder of the running test executable, where the build also puts rubblit.scr.
std::wstring BuildFolder();

}  // namespace testbed
