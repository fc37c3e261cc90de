// The settings dialog's preview of camera photos.
// 1. The preview of a 12-megapixel JPEG (4000 x 3000) and of a 50-megapixel one (8192 x 6144), from
//    the click to the box painted, the way the dialog did it before (the picture loaded whole, then
//    stretched into the box with COLORONCOLOR) and the way it does now (loaded at the box's size),
//    each in a fresh process with a box window of its own, with the peak memory above the process
//    at rest. Targets: the new 12-megapixel preview at most 60 % of the old one's time and 20 MiB
//    above rest; the 50-megapixel one within 1.5 s and 40 MiB above rest.
// 2. The running dialog (rubblit.scr /c) with a folder of such photos: a click until the box and
//    the size caption show the picture, its memory above the dialog at rest, and ten clicks down the
//    list as fast as the input arrives until the last picture shows (target: within two single
//    previews).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/large_jpeg.h"
#include "bench/stopwatch.h"
#include "dialog/layout.h"
#include "forms/handles.h"
#include "forms/picture_loader.h"
#include "forms/picture_surface.h"
#include "images/preview_picture.h"
#include "resources/resource_ids.h"
#include "wine/testbed/input.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/settings_dialog.h"
#include "wine/testbed/temp_folder.h"

namespace {

constexpr int kBoxSide = 100;
constexpr int kRounds = 5;
constexpr int kFlowRounds = 3;
constexpr DWORD kDeadline = 60000;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

SIZE_T PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(process, &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

SIZE_T WorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(process, &counters, sizeof counters);
  return counters.WorkingSetSize;
}

// Polls until done holds, about once a millisecond; false when the deadline passed.
bool PollUntil(const std::function<bool()>& done) {
  const double start = bench::Seconds();
  while (!done()) {
    if (bench::Seconds() - start > kDeadline / 1000.0) return false;
    ::Sleep(1);
  }
  return true;
}

// --- 1. One path in a process of its own -------------------------------------------------------

// A box on the screen that paints its persistent picture, as Pic_K does.
LRESULT CALLBACK BoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    const auto* surface = reinterpret_cast<const forms::PictureSurface*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (surface && surface->dc()) ::BitBlt(dc, 0, 0, surface->width(), surface->height(), surface->dc(), 0, 0, SRCCOPY);
    ::EndPaint(window, &paint);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// The preview as the dialog made it before: the whole picture, stretched into the box.
bool OldPreview(const std::wstring& path, forms::PictureSurface& box) {
  const auto picture = forms::LoadPictureFile(path);
  if (!picture) return false;
  const PreviewFit fit = FitPreview(picture->width(), picture->height(), kBoxSide);
  if (!box.Resize(fit.boxWidth, fit.boxHeight)) return false;
  ::SetStretchBltMode(box.dc(), COLORONCOLOR);
  return ::StretchBlt(box.dc(), 0, 0, fit.boxWidth, fit.boxHeight, picture->dc(), 0, 0, picture->width(),
                      picture->height(), SRCCOPY) != 0;
}

// The preview as the dialog makes it now.
bool NewPreview(const std::wstring& path, forms::PictureSurface& box) {
  const auto preview = LoadPreviewPicture(path, kBoxSide);
  if (!preview || !box.Resize(preview->fit.boxWidth, preview->fit.boxHeight)) return false;
  return ::BitBlt(box.dc(), 0, 0, preview->fit.boxWidth, preview->fit.boxHeight, preview->picture.dc(), 0, 0,
                  SRCCOPY) != 0;
}

int MeasurePath(bool old, const std::wstring& path) {
  forms::ComApartment com;
  forms::PictureSurface box;
  WNDCLASSW boxClass{};
  boxClass.lpfnWndProc = BoxProcedure;
  boxClass.hInstance = ::GetModuleHandleW(nullptr);
  boxClass.lpszClassName = L"PreviewBenchBox";
  ::RegisterClassW(&boxClass);
  // Left to the process's end to go: destroying a window takes Wine 2 s here.
  HWND window = ::CreateWindowExW(0, boxClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kBoxSide, kBoxSide,
                                  nullptr, nullptr, boxClass.hInstance, nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
  ::UpdateWindow(window);
  const SIZE_T rest = WorkingSet(::GetCurrentProcess());
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    const double start = bench::Seconds();
    if (!(old ? OldPreview(path, box) : NewPreview(path, box))) {
      std::printf("    %s: the picture did not load\n", old ? "before" : "now   ");
      return 0;
    }
    ::InvalidateRect(window, nullptr, FALSE);
    ::UpdateWindow(window);
    ::GdiFlush();
    times.push_back((bench::Seconds() - start) * 1000.0);
  }
  std::printf("    %s: click to box painted %7.1f ms (median of %d, first %.1f), peak %6.1f MiB above rest\n",
              old ? "before" : "now   ", Median(times), kRounds, times.front(),
              bench::MiB(PeakWorkingSet(::GetCurrentProcess()) - rest));
  return 0;
}

// Runs this benchmark again as "path old|new <file>", waits for it, and passes on its exit code.
int InFreshProcess(const wchar_t* which, const std::wstring& file) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" path " + which + L" \"" + file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD exitCode = 1;
  std::fflush(stdout);
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    forms::KernelHandle processHandle(process.hProcess), thread(process.hThread);
    ::WaitForSingleObject(processHandle.get(), INFINITE);
    ::GetExitCodeProcess(processHandle.get(), &exitCode);
  }
  return static_cast<int>(exitCode);
}

// --- 2. The running dialog ---------------------------------------------------------------------

class RunningDialog {
 public:
  RunningDialog(const testbed::TempFolder& home, const std::wstring& pictures)
      : saver_(home.CopySaverHere()), tile_(testbed::SkinPicture(saver_, IDR_SKIN_TILE)) {
    home.WriteBytes(L"Rubblit.ini",
                    testbed::SettingsFileBytes(testbed::SettingsLines(L"0", L"0", pictures, L"0010", L"1")));
    process_.emplace(saver_, L"/c");
    dialog_.emplace(*process_);
    panels_ = dialog_->FindPanels();
    watched_ = forms::KernelHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_->id()));
    itemHeight_ = static_cast<int>(::SendMessageW(dialog_->List(), LB_GETITEMHEIGHT, 0, 0));
  }
  ~RunningDialog() {
    if (dialog_->window()) ::PostMessageW(dialog_->window(), WM_CLOSE, 0, 0);
    process_->WaitForExit(20000);
  }
  bool open() const { return dialog_->window() != nullptr; }
  HANDLE process() const { return watched_.get(); }

  void Click(int line) const {
    testbed::ClickAt(
        testbed::SettingsDialog::OnScreen(dialog_->List(), {4, line * itemHeight_ + 1, 40, itemHeight_ - 2}));
  }
  // The box shown at the size the picture fits, its edge drawn, and the size caption; seconds.
  double WaitForPreview(int width, int height, double since) const {
    const PreviewFit fit = FitPreview(width, height, kBoxSide);
    const testbed::Pixels caption = testbed::LabelOverTile(
        tile_, kPreSize, std::to_wstring(width) + L" * " + std::to_wstring(height), dialog::kCentred);
    const bool shown = PollUntil([&] {
      RECT box{};
      ::GetWindowRect(panels_.picK, &box);
      if (!::IsWindowVisible(panels_.picK) || box.right - box.left != fit.boxWidth ||
          box.bottom - box.top != fit.boxHeight) {
        return false;
      }
      const testbed::Pixels corner = testbed::ScreenPixels({box.left, box.top, box.left + 1, box.top + 1});
      return corner.size() == 1 && corner[0] == testbed::SystemColour(COLOR_3DLIGHT) &&
             testbed::ScreenPixels(testbed::SettingsDialog::OnScreen(panels_.left, kPreSize)) == caption;
    });
    return shown ? bench::Seconds() - since : -1;
  }

 private:
  static constexpr testbed::At kPreSize{192, 36, 101, 13};
  std::wstring saver_;
  testbed::Pixels tile_;
  std::optional<testbed::SaverProcess> process_;
  std::optional<testbed::SettingsDialog> dialog_;
  testbed::DialogPanels panels_;
  forms::KernelHandle watched_;
  int itemHeight_ = 16;
};

// The scenery with a camera's grain over it, so that the file is as large as a photo's: the time
// to read a JPEG grows with its data.
testbed::PixelColour Photo(int width, int height) {
  return [scenery = bench::Scenery(width, height)](int x, int y) {
    const std::uint32_t hash =
        (static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u) * 2654435761u;
    std::uint32_t pixel = 0;
    for (int shift : {0, 8, 16}) {
      const int grain = static_cast<int>((hash >> (shift + 8)) % 64) - 32;
      const int channel = std::clamp(static_cast<int>((scenery(x, y) >> shift) & 0xFF) + grain, 0, 255);
      pixel |= static_cast<std::uint32_t>(channel) << shift;
    }
    return pixel;
  };
}

bool WriteJpeg(const testbed::TempFolder& folder, const std::wstring& name, int width, int height) {
  const double start = bench::Seconds();
  const std::string jpeg = testbed::JpegBytes(width, height, Photo(width, height), 90);
  if (jpeg.empty()) {
    std::printf("the imaging component could not make a %d x %d JPEG\n", width, height);
    return false;
  }
  folder.WriteBytes(name, jpeg);
  std::printf("made %ls, %d x %d, %.1f MiB, in %.1f s\n", name.c_str(), width, height, bench::MiB(jpeg.size()),
              bench::Seconds() - start);
  return true;
}

int MeasureDialog(const testbed::TempFolder& home, const testbed::TempFolder& pictures) {
  // The list, sorted: p01 portrait, p02 to p10 the landscape photo, p11 another portrait, q50.
  RunningDialog dialog(home, pictures.path());
  if (!dialog.open()) {
    std::printf("the dialog did not open\n");
    return 1;
  }
  ::Sleep(500);
  const SIZE_T rest = WorkingSet(dialog.process());
  dialog.Click(9);
  if (dialog.WaitForPreview(4000, 3000, bench::Seconds()) < 0) {
    std::printf("the dialog did not preview p10.jpg\n");
    return 1;
  }
  std::vector<double> singles;
  for (int round = 0; round < kRounds; ++round) {
    double start = bench::Seconds();
    dialog.Click(10);
    singles.push_back(dialog.WaitForPreview(3008, 4000, start) * 1000.0);
    start = bench::Seconds();
    dialog.Click(9);
    singles.push_back(dialog.WaitForPreview(4000, 3000, start) * 1000.0);
  }
  const double single = Median(singles);
  std::printf("  12 MP, click until box and size caption show: %.1f ms (median of %zu, slowest %.1f)\n", single,
              singles.size(), *std::max_element(singles.begin(), singles.end()));
  std::printf("  dialog peak working set %.1f MiB above rest (%.1f MiB at rest)\n",
              bench::MiB(PeakWorkingSet(dialog.process()) - rest), bench::MiB(rest));

  std::vector<double> flows, sending;
  for (int round = 0; round < kFlowRounds; ++round) {
    dialog.Click(0);
    dialog.WaitForPreview(3000, 4000, bench::Seconds());
    const double start = bench::Seconds();
    for (int line = 1; line <= 10; ++line) dialog.Click(line);
    sending.push_back((bench::Seconds() - start) * 1000.0);
    flows.push_back(dialog.WaitForPreview(3008, 4000, start) * 1000.0);
  }
  std::printf(
      "  ten clicks down the list (sent in %.1f ms): the last one's preview after %.1f ms (median of %d, "
      "slowest %.1f; target within two single previews: %.1f ms; before, each click loaded its picture in "
      "turn)\n",
      Median(sending), Median(flows), kFlowRounds, *std::max_element(flows.begin(), flows.end()), 2 * single);

  const double big = bench::Seconds();
  dialog.Click(11);
  const double bigTime = dialog.WaitForPreview(8192, 6144, big);
  std::printf("  50 MP, click until box and size caption show: %.1f ms (target within 1500 ms)\n", bigTime * 1000.0);
  std::printf("  dialog peak working set %.1f MiB above rest (target at most 40 MiB)\n",
              bench::MiB(PeakWorkingSet(dialog.process()) - rest));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"path") return MeasurePath(std::wstring(argv[2]) == L"old", argv[3]);

  testbed::TempFolder home, pictures;
  if (!WriteJpeg(pictures, L"p01.jpg", 3000, 4000) || !WriteJpeg(pictures, L"p02.jpg", 4000, 3000) ||
      !WriteJpeg(pictures, L"p11.jpg", 3008, 4000) || !WriteJpeg(pictures, L"q50.jpg", 8192, 6144)) {
    return 1;
  }
  for (int n = 3; n <= 10; ++n) {
    wchar_t name[16];
    swprintf(name, 16, L"p%02d.jpg", n);
    ::CopyFileW(pictures.File(L"p02.jpg").c_str(), pictures.File(name).c_str(), FALSE);
  }
  std::printf("== Preview of a 12-megapixel JPEG, 4000 x 3000 (targets: now at most 60 %% of before, 20 MiB)\n");
  InFreshProcess(L"old", pictures.File(L"p02.jpg"));
  InFreshProcess(L"new", pictures.File(L"p02.jpg"));
  std::printf("== Preview of a 50-megapixel JPEG, 8192 x 6144 (targets: now within 1500 ms, 40 MiB)\n");
  InFreshProcess(L"old", pictures.File(L"q50.jpg"));
  InFreshProcess(L"new", pictures.File(L"q50.jpg"));
  std::printf("== The running dialog\n");
  // Wine sometimes gives a click the pointer's position of the click before, which then makes a
  // double click of two clicks on different lines; with this at 1 no two clicks make one.
  HKEY mouse = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Mouse", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &mouse, nullptr);
  ::RegSetValueExW(mouse, L"DoubleClickHeight", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 2 * sizeof(wchar_t));
  const int result = MeasureDialog(home, pictures);
  ::RegDeleteValueW(mouse, L"DoubleClickHeight");
  ::RegCloseKey(mouse);
  return result;
}
