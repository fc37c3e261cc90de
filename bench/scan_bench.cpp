// How long the image scan takes on large folders under the real file system, and how the sort
// compares with a quadratic exchange sort of the same list.
#include <windows.h>
#include <winternl.h>

#include <cstdio>

#include "bench/stopwatch.h"
#include <string>
#include <utility>
#include <vector>

#include "forms/directory.h"
#include "forms/handles.h"
#include "images/image_scan.h"

namespace {

// A bijection on 32-bit numbers, so that file names are distinct but come in no useful order.
std::uint32_t Scramble(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

using NtCreateFileProcedure = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                               PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using UnixFileNameProcedure = char*(CDECL*)(const wchar_t*);

// Makes empty files in one folder. Under Wine every creation by a Windows name reads the whole
// folder to rule out a name differing only in case, which turns filling a folder of 32,767 files
// into minutes; Wine's own "\??\unix" names skip that search, so the files are made through them
// where Wine is there. The scan itself always goes through the Windows names.
class FileMaker {
 public:
  explicit FileMaker(const std::wstring& folder) : ntdll_(L"ntdll.dll"), kernel32_(L"kernel32.dll"), folder_(folder) {
    ntCreateFile_ = ntdll_.procedure<NtCreateFileProcedure>("NtCreateFile");
    auto unixFileName = kernel32_.procedure<UnixFileNameProcedure>("wine_get_unix_file_name");
    if (!ntCreateFile_ || !unixFileName) return;
    char* unixFolder = unixFileName(folder.c_str());
    if (!unixFolder) return;
    int length = ::MultiByteToWideChar(CP_UTF8, 0, unixFolder, -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 0, L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, unixFolder, -1, &wide[0], length);
    ::HeapFree(::GetProcessHeap(), 0, unixFolder);
    if (length <= 1) return;
    wide.resize(static_cast<std::size_t>(length) - 1);
    for (wchar_t& c : wide) c = c == L'/' ? L'\\' : c;
    ntFolder_ = L"\\??\\unix" + wide;
  }

  bool Make(const std::wstring& name) {
    if (ntFolder_.empty()) {
      forms::KernelHandle file(::CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
      return static_cast<bool>(file);
    }
    std::wstring ntPath = ntFolder_ + L"\\" + name;
    UNICODE_STRING ntName;
    ntName.Buffer = &ntPath[0];
    ntName.Length = static_cast<USHORT>(ntPath.size() * sizeof(wchar_t));
    ntName.MaximumLength = ntName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &ntName, 0, nullptr, nullptr);
    IO_STATUS_BLOCK status;
    HANDLE file = nullptr;
    NTSTATUS result = ntCreateFile_(&file, GENERIC_WRITE | SYNCHRONIZE, &attributes, &status, nullptr,
                                    FILE_ATTRIBUTE_NORMAL, 0, FILE_CREATE,
                                    FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (result < 0) return false;
    forms::KernelHandle owner(file);
    return true;
  }

 private:
  forms::Library ntdll_;
  forms::Library kernel32_;
  std::wstring folder_;
  std::wstring ntFolder_;
  NtCreateFileProcedure ntCreateFile_ = nullptr;
};

bool MakeFiles(const std::wstring& folder, int count) {
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) return false;
  FileMaker maker(folder);
  for (int i = 0; i < count; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"%08X.jpg", Scramble(static_cast<std::uint32_t>(i)));
    if (!maker.Make(name)) return false;
  }
  return true;
}

void RemoveFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  forms::FileSystemDirectory directory;
  directory.FindNames(folder + L"\\*.*", false, [&names](const std::wstring& name, std::uint32_t) {
    names.push_back(name);
    return true;
  });
  for (const std::wstring& name : names) ::DeleteFileW((folder + L"\\" + name).c_str());
  ::RemoveDirectoryW(folder.c_str());
}

void ExchangeSort(std::vector<std::wstring>& keys) {
  for (std::size_t i = 1; i < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      if (keys[i] >= keys[j]) std::swap(keys[i], keys[j]);
    }
  }
}

// Prints the figures for one folder size; false when the files could not be made or an order differs.
bool Measure(const std::wstring& base, int count) {
  std::wstring folder = base + L"\\files-" + std::to_wstring(count);
  std::printf("== %d matching files\n", count);
  double start = bench::Seconds();
  if (!MakeFiles(folder, count)) {
    std::printf("could not create the files\n");
    RemoveFolder(folder);
    return false;
  }
  std::printf("creating the files:              %8.3f s\n", bench::Seconds() - start);

  forms::FileSystemDirectory directory;
  ImageList list;
  const std::array<std::int16_t, 4> allKinds = {1, 1, 1, 1};
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    start = bench::Seconds();
    ScanImages(list, allKinds, folder, directory);
    double elapsed = bench::Seconds() - start;
    std::printf("ScanImages, all kinds, run %d:    %8.3f s  (%d listed)\n", run + 1, elapsed, list.ImageCount);
    if (run == 0 || elapsed < best) best = elapsed;
  }

  // The list as the scan holds it just before sorting: every file in the system's order.
  ImageList unsorted;
  directory.FindNames(folder + L"\\*.jpg", false, [&](const std::wstring& name, std::uint32_t) {
    unsorted.ImageFiles.push_back(folder + L"\\" + name);
    return true;
  });
  unsorted.ImageCount = static_cast<std::int16_t>(unsorted.ImageFiles.size() - 1);

  ImageList sorted = unsorted;
  start = bench::Seconds();
  SortImageFiles(sorted);
  double sortTime = bench::Seconds() - start;
  std::vector<std::wstring> exchanged = unsorted.ImageFiles;
  start = bench::Seconds();
  ExchangeSort(exchanged);
  double exchangeTime = bench::Seconds() - start;

  std::printf("SortImageFiles alone:            %8.1f ms\n", sortTime * 1000);
  std::printf("best scan less the sort:         %8.3f s\n", best - sortTime);
  std::printf("exchange sort of the same list:  %8.3f s\n", exchangeTime);
  std::printf("exchange sort / sort:            %8.0f x\n", sortTime > 0 ? exchangeTime / sortTime : 0.0);
  bool sameAsExchange = exchanged == sorted.ImageFiles;
  bool sameAsScan = list.ImageFiles == sorted.ImageFiles;
  std::printf("same order as the exchange sort: %s\n", sameAsExchange ? "yes" : "NO");
  std::printf("same order as the scan:          %s\n", sameAsScan ? "yes" : "NO");

  start = bench::Seconds();
  RemoveFolder(folder);
  std::printf("removing the files:              %8.3f s\n", bench::Seconds() - start);
  return sameAsExchange && sameAsScan;
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"rubblit-scan-bench-" + std::to_wstring(::GetCurrentProcessId());
  if (!::CreateDirectoryW(base.c_str(), nullptr)) {
    std::printf("could not create a folder in the temporary folder\n");
    return 1;
  }
  bool ok = Measure(base, 1000);
  ok = Measure(base, 32767) && ok;
  ::RemoveDirectoryW(base.c_str());
  return ok ? 0 : 1;
}
