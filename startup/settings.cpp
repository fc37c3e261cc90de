#include "startup/settings.h"

#include <optional>
#include <string>

#include "images/image_scan.h"
#include "startup/number_text.h"

namespace {

const wchar_t kSection[] = L"Section";
const wchar_t kChangeOrderKey[] = L"画像ﾁｪﾝｼﾞ";
const wchar_t kImageSizeKey[] = L"画像のｻｲｽﾞ";
const wchar_t kImageFolderKey[] = L"画像のﾌｫﾙﾀﾞ";
const wchar_t kSpeedKey[] = L"速さ";

std::wstring ImageKindKey(std::size_t index) { return L"画像種類_" + std::to_wstring(index); }

// An empty value gives the default; a value that does not read as a 16-bit number leaves the field
// as it was, so a damaged file never forces an arbitrary value.
void LoadNumber(ProfileFile& file, const std::wstring& key, std::int16_t fallback, std::int16_t& field) {
  const std::wstring text = file.ReadIniValue(kSection, key);
  if (text.empty()) {
    field = fallback;
    return;
  }
  if (std::optional<std::int16_t> number = ReadSettingNumber(text)) field = *number;
}

}  // namespace

void LoadSettings(CommonModule& common, ProfileFile& file, DirectoryReader& reader) {
  SettingsRecord& settings = common.settings;
  LoadNumber(file, kChangeOrderKey, 0, settings.ChangeOrder);
  LoadNumber(file, kImageSizeKey, 0, settings.ImageSize);
  for (std::size_t n = 0; n < settings.ImageKind.size(); ++n) LoadNumber(file, ImageKindKey(n), 1, settings.ImageKind[n]);

  common.images.ImageCount = 0;
  settings.ImageFolder = file.ReadIniValue(kSection, kImageFolderKey);
  // A folder that has gone away is forgotten rather than scanned; the file keeps it until the next save.
  if (!settings.ImageFolder.empty()) {
    if (FolderExists(settings.ImageFolder, reader)) {
      ScanImages(common.images, settings.ImageKind, settings.ImageFolder, reader);
    } else {
      settings.ImageFolder.clear();
    }
  }

  LoadNumber(file, kSpeedKey, 1, settings.Speed);
}

void SaveSettings(SettingsRecord& settings, const std::wstring& folderPathCaption, std::int16_t speedValue,
                  ProfileFile& file) {
  file.WriteIniValue(kSection, kChangeOrderKey, NumberText(settings.ChangeOrder));
  file.WriteIniValue(kSection, kImageSizeKey, NumberText(settings.ImageSize));
  settings.ImageFolder = folderPathCaption;
  file.WriteIniValue(kSection, kImageFolderKey, settings.ImageFolder);
  for (std::size_t n = 0; n < settings.ImageKind.size(); ++n) {
    file.WriteIniValue(kSection, ImageKindKey(n), NumberText(settings.ImageKind[n]));
  }
  // The slider's value is what the user chose; the running process has no further use for Speed.
  file.WriteIniValue(kSection, kSpeedKey, NumberText(speedValue));
}
