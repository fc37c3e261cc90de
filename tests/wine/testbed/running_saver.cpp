#include "wine/testbed/running_saver.h"

#include <algorithm>

#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"

namespace testbed {

std::string SettingsIni(const SaverSettings& settings) {
  std::string folder(static_cast<std::size_t>(
                         ::WideCharToMultiByte(CP_ACP, 0, settings.folder.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                     '\0');
  ::WideCharToMultiByte(CP_ACP, 0, settings.folder.c_str(), -1, folder.data(), static_cast<int>(folder.size()),
                        nullptr, nullptr);
  folder.resize(folder.size() - 1);
  std::string ini = "[Section]\r\n"
                    "\x89\xe6\x91\x9c\xc1\xaa\xdd\xbc\xde=" + std::to_string(settings.changeOrder) + "\r\n" +  // 画像ﾁｪﾝｼﾞ
                    "\x89\xe6\x91\x9c\x82\xcc\xbb\xb2\xbd\xde=" + std::to_string(settings.imageSize) + "\r\n" +  // 画像のｻｲｽﾞ
                    "\x91\xac\x82\xb3=" + std::to_string(settings.speed) + "\r\n";                              // 速さ
  if (!folder.empty()) ini += "\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=" + folder + "\r\n";  // 画像のﾌｫﾙﾀﾞ
  return ini;
}

RunningSaver::RunningSaver(const SaverSettings& settings, const std::wstring& argumentString,
                           const std::function<void(const TempFolder&)>& prepare)
    : process(Prepare(folder, settings, prepare), argumentString),
      window(process.WaitForWindow(L"Rubblit(main)", 20000)) {}

std::wstring RunningSaver::Prepare(const TempFolder& folder, const SaverSettings& settings,
                                   const std::function<void(const TempFolder&)>& prepare) {
  folder.WriteBytes(L"Rubblit.ini", SettingsIni(settings));
  if (prepare) prepare(folder);
  return folder.CopySaverHere();
}

bool RunningSaver::WaitUntilShowing(const std::vector<std::uint32_t>& colours, DWORD milliseconds) const {
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2, y = ::GetSystemMetrics(SM_CYSCREEN) * 9 / 16;
  const bool shown = window && PumpUntil(
                                   [&] {
                                     if (!::IsWindowVisible(window) || ::GetForegroundWindow() != window) return false;
                                     const ScreenShot probe = Capture(x, y, 1, 1);
                                     return !probe.pixels.empty() &&
                                            std::count(colours.begin(), colours.end(), probe.At(0, 0)) > 0;
                                   },
                                   milliseconds);
  return shown && process.WaitForInputIdle(milliseconds);
}

}  // namespace testbed
