#include "settings/settings.h"

#include <optional>
#include <string>

#include "images/image_scan.h"
#include "common/number_text.h"

namespace {

// The names as the file holds them, in Shift_JIS. Kept as bytes, so that a system without the
// Japanese code page finds them too.
const char kSection[] = "Section";
const char kChangeOrderKey[] = "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE";    // 画像ﾁｪﾝｼﾞ
const char kImageSizeKey[] = "\x89\xE6\x91\x9C\x82\xCC\xBB\xB2\xBD\xDE";  // 画像のｻｲｽﾞ
const char kImageFolderKey[] = "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE";  // 画像のﾌｫﾙﾀﾞ
const char kImageKindKeyStart[] = "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_";  // 画像種類_
const char kSpeedKey[] = "\x91\xAC\x82\xB3";  // 速さ

std::string ImageKindKey(std::size_t index) { return kImageKindKeyStart + std::to_string(index); }

// An empty value gives the default; a value that does not read as a 16-bit number leaves the field
// as it was, so a damaged file never forces an arbitrary value.
void LoadNumber(ProfileFile& file, const std::string& key, std::int16_t fallback, std::int16_t& field) {
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
  settings.ImageFolder = file.ReadIniPath(kSection, kImageFolderKey);
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
  file.WriteIniPath(kSection, kImageFolderKey, settings.ImageFolder);
  for (std::size_t n = 0; n < settings.ImageKind.size(); ++n) {
    file.WriteIniValue(kSection, ImageKindKey(n), NumberText(settings.ImageKind[n]));
  }
  // The slider's value is what the user chose; the running process has no further use for Speed.
  file.WriteIniValue(kSection, kSpeedKey, NumberText(speedValue));
}
