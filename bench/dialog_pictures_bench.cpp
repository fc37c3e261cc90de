// The settings dialog with a folder of 32,767 pictures: choosing it in the folder browser until
// the list holds them all, and a kind toggle until the list holds them again, sorted (targets:
// each under 5 s), with the dialog process's memory meanwhile (target: under 100 MiB); then how
// long the preview's loader takes to refuse each damaged picture (target: under 1 s).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/stopwatch.h"
#include "forms/handles.h"
#include "forms/picture_loader.h"
#include "wine/testbed/folder_browser.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

constexpr int kPictures = 32767;
constexpr testbed::At kFolderButton{16, 44, 101, 17}, kWmfBox{208, 248, 12, 12};

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The list's line count and first line, asked without waiting longer than the dialog is busy.
struct ListState {
  LRESULT count = -1;
  std::wstring first;
};

ListState ReadList(HWND list) {
  ListState state;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &result)) return state;
  state.count = static_cast<LRESULT>(result);
  if (state.count > 0) {
    wchar_t text[MAX_PATH] = {};
    ::SendMessageTimeoutW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 60000, &result);
    state.first = text;
  }
  return state;
}

// Waits for the list, noting the dialog's peak memory while it waits; the seconds it took.
double TimeUntil(HWND list, HANDLE process, SIZE_T& peak, double start, bool (*done)(const ListState&)) {
  testbed::PumpUntil(
      [&] {
        PROCESS_MEMORY_COUNTERS memory{};
        if (::GetProcessMemoryInfo(process, &memory, sizeof memory)) {
          peak = std::max({peak, memory.PeakWorkingSetSize, memory.PeakPagefileUsage});
        }
        return done(ReadList(list));
      },
      120000);
  return bench::Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  testbed::TempFolder home, made;
  const std::wstring saver = home.CopySaverHere();
  home.WriteBytes(L"Rubblit.ini",
                  testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", L"", L"1111", L"1")));
  std::printf("== Settings dialog with a folder of %d pictures (targets: each under 5 s, memory under 100 MiB)\n",
              kPictures);
  // p00001.bmp to p32766.bmp and a.gif: the scan lists the gif after the bitmaps, the sorted list
  // first. Wine takes time growing with the folder to add each file, so scripts/bench.sh makes it
  // beforehand and names it here.
  std::wstring pictures = made.path();
  if (argc > 1) {
    pictures.assign(argv[1], argv[1] + std::strlen(argv[1]));
  } else {
    const std::string bitmap = testbed::BmpBytes(2, 2, 24, testbed::TwoBands(0xFF0000, 0x0000FF, 2));
    for (int i = 1; i < kPictures; ++i) {
      wchar_t name[32];
      swprintf(name, 32, L"p%05d.bmp", i);
      made.WriteBytes(name, bitmap);
    }
    made.WriteBytes(L"a.gif", testbed::GifBytes(2, 2, testbed::TwoBands(0xFF0000, 0x0000FF, 2)));
  }
  double start = 0;

  testbed::SaverProcess process(saver, L"/c");
  testbed::SettingsDialog dialog(process);
  if (!dialog.window()) {
    std::printf("the dialog did not open\n");
    return 1;
  }
  const testbed::DialogPanels panels = dialog.FindPanels();
  forms::KernelHandle watched(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process.id()));
  SIZE_T peak = 0;

  testbed::ClickAt(testbed::SettingsDialog::OnScreen(panels.left, kFolderButton));
  testbed::FolderBrowser browser(dialog.window(), process.id(), 20000);
  if (!browser.window() || !browser.Select(pictures)) {
    std::printf("the folder browser did not take the folder\n");
    return 1;
  }
  start = bench::Seconds();
  browser.Press(IDOK);
  const double chosen = TimeUntil(dialog.List(), watched.get(), peak, start, [](const ListState& list) {
    return list.count == kPictures && list.first != L"a.gif";
  });
  std::printf("folder choice: OK pressed until %d names listed in scan order: %.2f s\n", kPictures, chosen);

  start = bench::Seconds();
  testbed::ClickAt(testbed::SettingsDialog::OnScreen(panels.left, kWmfBox));
  const double toggled = TimeUntil(dialog.List(), watched.get(), peak, start, [](const ListState& list) {
    return list.count == kPictures && list.first == L"a.gif";
  });
  std::printf("kind toggle (*.wmf off): click until %d names listed sorted: %.2f s\n", kPictures, toggled);
  std::printf("dialog process, peak working set or commit: %.1f MiB\n", MiB(peak));
  ::PostMessageW(dialog.window(), WM_CLOSE, 0, 0);
  process.WaitForExit(20000);

  // What the preview's loader takes to refuse the damaged pictures the saver's tests make.
  const std::string gif = testbed::GifBytes(40, 30, testbed::TwoBands(0xFF0000, 0x0000FF, 30));
  const std::string jpeg = testbed::JpegBytes(40, 30, testbed::TwoBands(0xFF0000, 0x0000FF, 30));
  const std::string bmp = testbed::BmpBytes(40, 30, 24, testbed::TwoBands(0xFF0000, 0x0000FF, 30));
  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {
      {"bitmap cut in its pixels", bmp.substr(0, bmp.size() / 2)},
      {"jpeg cut in its scan data", jpeg.substr(0, jpeg.size() - 100)},
      {"gif with a damaged signature", testbed::Flipped(gif, 0, 3)},
      {"bitmap claiming 30000 x 30000", testbed::BmpClaimingSize(30000, 30000)},
      {"gif claiming 30000 x 30000", testbed::WithGifScreenSize(gif, 30000, 30000)},
      {"jpeg claiming 30000 x 30000", testbed::WithJpegFrameSize(jpeg, 30000, 30000)},
      {"text named as a jpeg", "This is not a picture.\r\n"},
  };
  forms::ComApartment com;
  home.WriteBytes(L"warm.bmp", bmp);
  forms::LoadPictureFile(home.File(L"warm.bmp"));
  std::printf("preview loads of damaged pictures (target under 1000 ms each):\n");
  for (const auto& d : damaged) {
    home.WriteBytes(L"damaged", d.bytes);
    start = bench::Seconds();
    const bool loaded = forms::LoadPictureFile(home.File(L"damaged")).has_value();
    std::printf("  %-32s %7.1f ms%s\n", d.what, (bench::Seconds() - start) * 1000.0, loaded ? " (loaded!)" : "");
  }
  return 0;
}
