#include "wine/testbed/temp_folder.h"

#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testbed {

std::wstring BuildFolder() {
  wchar_t buffer[MAX_PATH];
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::filesystem::path(buffer).parent_path().wstring();
}

TempFolder::TempFolder() {
  static unsigned counter = 0;
  std::filesystem::path folder;
  do {
    folder = std::filesystem::temp_directory_path() /
             (L"rubblit-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
  } while (!std::filesystem::create_directory(folder));  // throws when it cannot be made at all
  path_ = folder.wstring();
}

// The shell's delete takes read-only, hidden and system files and folders with the rest.
TempFolder::~TempFolder() {
  const std::wstring paths = path_ + L'\0';  // a list of paths, ended by an empty one
  SHFILEOPSTRUCTW remove{};
  remove.wFunc = FO_DELETE;
  remove.pFrom = paths.c_str();
  remove.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&remove);
}

void TempFolder::WriteBytes(const std::wstring& name, const std::string& bytes) const {
  std::ofstream file(std::filesystem::path(File(name)), std::ios::binary);
  if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
    throw std::runtime_error("cannot write a test file");
}

std::string TempFolder::ReadBytes(const std::wstring& name) const {
  std::ifstream file(std::filesystem::path(File(name)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool TempFolder::Exists(const std::wstring& name) const {
  return ::GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring TempFolder::CopySaverHere() const {
  std::wstring target = File(L"rubblit.scr");
  if (!::CopyFileW((BuildFolder() + L"\\rubblit.scr").c_str(), target.c_str(), FALSE))
    throw std::runtime_error("cannot copy rubblit.scr");
  return target;
}

}  // namespace testbed
