#include "startup/main.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "dialog/settings_form.h"
#include "display/display_form.h"
#include "forms/directory.h"
#include "forms/process.h"
#include "forms/stirred_random.h"
#include "images/show_order.h"
#include "common/arguments.h"
#include "common/common_module.h"
#include "session/password_change.h"
#include "preview/preview_embedding.h"
#include "preview/preview_form.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

// The captions of the settings dialog and of the full-screen display. Compared as wide text, so
// the test does not depend on the system's ANSI code page.
constexpr const wchar_t* kSettingsCaption = L"Rubblitの設定";
constexpr const wchar_t* kDisplayCaption = L"Rubblit(main)";

// An open dialog or a running display means this start is not wanted, whatever its mode.
bool AnotherInstanceIsOpen() {
  return ::FindWindowW(nullptr, kSettingsCaption) != nullptr || ::FindWindowW(nullptr, kDisplayCaption) != nullptr;
}

void BuildFirstShowOrder(CommonModule& common) {
  const std::int16_t imageCount = common.images.ImageCount;
  if (imageCount <= 0) return;
  common.ShowOrder.assign(static_cast<std::size_t>(imageCount) + 1, 0);
  StirredRandom random;
  BuildShowOrder(common.ShowOrder, imageCount, common.settings.ChangeOrder, random);
}

}  // namespace

void Main() {
  if (AnotherInstanceIsOpen()) forms::EndProcess();

  const std::wstring mode = ModeLetter(forms::ProcessArgumentString());
  if (mode == L"P") {
    PreviewForm preview;
    const std::wstring windowHandleField = WindowHandleField(forms::ProcessArgumentString());
    if (EmbedPreview(preview, windowHandleField)) {
      forms::RunUntilLastFormCloses([&] { return PreviewStillInPane(preview, windowHandleField); });
    }
    // At once, without destroying a form whose pane may be going in the host's process: that would
    // wait on the host's thread, which need not be taking messages.
    forms::EndProcess();
  }

  CommonModule common;
  {
    SettingsFile file;
    forms::FileSystemDirectory directory;
    LoadSettings(common, file, directory);
  }

  if (mode == L"A") {
    ChangeScreenSaverPassword(WindowHandleField(forms::ProcessArgumentString()));
    forms::EndProcess();
  }
  if (mode == L"C") {
    dialog::SettingsForm settings(common);
    settings.ShowModal();
    forms::EndProcess();
  }
  if (mode != L"S" && !mode.empty()) forms::EndProcess();

  BuildFirstShowOrder(common);
  if (mode == L"S") ::ShowCursor(FALSE);
  // Input ends the session inside the display's handlers; this returns only if the window was
  // destroyed from outside.
  LoadDisplayForm(common);
  forms::EndProcess();
}
