#include "wine/testbed/running_saver.h"

#include <algorithm>

#include "forms/text.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"

namespace testbed {

std::string SettingsFileBytes(const std::vector<std::wstring>& lines) {
  std::wstring text = L"[Section]\r\n";
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return forms::ToCodePage(text, 932).value_or(std::string());  // Shift_JIS
}

namespace {

// Writes the settings file and whatever prepare adds, then copies the saver beside them.
std::wstring Prepare(const TempFolder& folder, const SaverSettings& settings,
                     const std::function<void(const TempFolder&)>& prepare) {
  std::vector<std::wstring> lines = {L"画像ﾁｪﾝｼﾞ=" + std::to_wstring(settings.changeOrder),
                                     L"画像のｻｲｽﾞ=" + std::to_wstring(settings.imageSize),
                                     L"速さ=" + std::to_wstring(settings.speed)};
  if (!settings.folder.empty()) lines.push_back(L"画像のﾌｫﾙﾀﾞ=" + settings.folder);
  folder.WriteBytes(L"Rubblit.ini", SettingsFileBytes(lines));
  if (prepare) prepare(folder);
  return folder.CopySaverHere();
}

}  // namespace

RunningSaver::RunningSaver(const SaverSettings& settings, const std::wstring& argumentString,
                           const std::function<void(const TempFolder&)>& prepare)
    : process(Prepare(folder, settings, prepare), argumentString),
      window(process.WaitForWindow(L"Rubblit(main)", 20000)) {}

bool RunningSaver::HandlesInputAndGoesOn() const {
  // A key press brings the most: key down, the character, key up.
  for (int trip = 0; trip < 4; ++trip) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result)) return false;
  }
  return ::IsWindowVisible(window) && !process.WaitForExit(0);
}

bool RunningSaver::WaitUntilShowing(const std::vector<std::uint32_t>& colours, DWORD milliseconds) const {
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2, y = ::GetSystemMetrics(SM_CYSCREEN) * 9 / 16;
  const auto showing = [&] {
    const std::vector<std::uint32_t> probe = Capture(x, y, 1, 1).pixels;
    return ::IsWindowVisible(window) && ::GetForegroundWindow() == window && probe.size() == 1 &&
           std::count(colours.begin(), colours.end(), probe[0]) > 0;
  };
  return window && PumpUntil(showing, milliseconds) && process.WaitForInputIdle(milliseconds);
}

}  // namespace testbed
