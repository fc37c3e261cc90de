// The user's settings as the program holds them while it runs.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct SettingsRecord {
  std::int16_t ChangeOrder = 0;                // 0 sequential, anything else random
  std::int16_t ImageSize = 0;                  // 0 own size, anything else full screen
  std::array<std::int16_t, 4> ImageKind{};     // bmp, gif, jpg, wmf: exactly 1 means collected
  std::wstring ImageFolder;                    // empty: no folder chosen
  std::int16_t Speed = 0;                      // rows the front moves per pass
};
