// The release package's two executables as Windows sees them: the version information the file's
// properties show, the name the Screen Saver Settings list shows, and the preview each opens in the
// host's pane. zip_test.sh unpacked them into bin/package/. The resources are read as data, so the
// 64-bit test reads the 32-bit file too; that one is started only where 32-bit programs run.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/temp_folder.h"

namespace {

const wchar_t* const kExecutables[] = {L"rubblit.scr", L"rubblit64.scr"};

std::wstring Packaged(const std::wstring& name) { return testbed::BuildFolder() + L"\\package\\" + name; }

// A value of the version information's Japanese Unicode block; "(none)" when it is missing.
std::wstring VersionText(const std::wstring& file, const std::wstring& name) {
  DWORD ignored = 0;
  std::vector<BYTE> data(::GetFileVersionInfoSizeW(file.c_str(), &ignored));
  void* value = nullptr;
  UINT length = 0;
  if (data.empty() || !::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !::VerQueryValueW(data.data(), (L"\\StringFileInfo\\041104B0\\" + name).c_str(), &value, &length)) {
    return L"(none)";
  }
  return static_cast<const wchar_t*>(value);
}

TEST(Package, EachExecutableCarriesTheVersionInAJapaneseBlockAndString1Rubblit) {
  for (const wchar_t* executable : kExecutables) {
    const std::wstring file = Packaged(executable);
    const std::pair<const wchar_t*, std::wstring> expected[] = {{L"FileVersion", RUBBLIT_VERSION},
                                                                {L"ProductVersion", RUBBLIT_VERSION},
                                                                {L"ProductName", L"Rubblit"},
                                                                {L"OriginalFilename", executable},
                                                                {L"FileDescription", L"Rubblit スクリーン セーバー"}};
    for (const auto& [name, value] : expected) EXPECT_EQ(VersionText(file, name), value) << executable;
    EXPECT_NE(VersionText(file, L"LegalCopyright"), L"(none)") << executable;
    forms::Library data(file.c_str(), LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[32] = {};
    EXPECT_TRUE(data && ::LoadStringW(data.get(), 1, text, 32) > 0 && std::wstring(text) == L"Rubblit")
        << executable << ": \"" << text << "\"";
  }
}

class PackagePreview : public testbed::SaverTest {};

TEST_F(PackagePreview, EachExecutableThatRunsHereOpensItsPreviewInThePaneAndEndsWithIt) {
  const bool runs32Bit = ::GetFileAttributesW(Packaged(L"runs-32bit").c_str()) != INVALID_FILE_ATTRIBUTES;
  for (const wchar_t* executable : kExecutables) {
    if (!runs32Bit && std::wstring(executable) == L"rubblit.scr") continue;
    testbed::TempFolder folder;
    ASSERT_TRUE(::CopyFileW(Packaged(executable).c_str(), folder.File(executable).c_str(), FALSE));
    testbed::HostWindow pane(L"pane", 30, 30, 200, 150);
    testbed::SaverProcess saver(folder.File(executable), L"/p " + pane.HandleText());
    const auto shownOrEnded = [&] {
      HWND preview = testbed::FindChildOfProcess(pane.get(), saver.id(), L"Preview Window");
      return (preview && ::IsWindowVisible(preview)) || saver.WaitForExit(0);
    };
    EXPECT_TRUE(testbed::PumpUntil(shownOrEnded, 15000) && !saver.WaitForExit(0)) << executable << " showed no preview";
    pane.Destroy();
    EXPECT_TRUE(saver.WaitForExit(15000)) << executable;
    EXPECT_EQ(saver.ExitCode(), 0u) << executable;
  }
}

}  // namespace
