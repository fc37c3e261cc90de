#include "images/show_order.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace {

// Writes only the positions that the caller's array has.
void Place(std::vector<std::int16_t>& showOrder, std::int32_t position, std::int16_t index) {
  if (position >= 0 && static_cast<std::size_t>(position) < showOrder.size())
    showOrder[static_cast<std::size_t>(position)] = index;
}

}  // namespace

void BuildShowOrder(std::vector<std::int16_t>& showOrder, std::int16_t imageCount, std::int16_t changeOrder,
                    RandomSource& random) {
  if (imageCount <= 0) return;
  if (changeOrder == 0) {
    for (std::int32_t i = 1; i <= imageCount; ++i) Place(showOrder, i, static_cast<std::int16_t>(i));
    return;
  }

  // Rebuilt between two pictures, where nothing may throw: without the memory the order stays as it was.
  std::unique_ptr<bool[]> taken(new (std::nothrow) bool[static_cast<std::size_t>(imageCount) + 1]());
  if (!taken) return;
  std::int32_t position = 0;
  for (std::int32_t remaining = imageCount; remaining > 0; --remaining) {
    random.Stir();
    const double pick = std::floor(random.Uniform() * remaining) + 1;
    // A draw outside [0, 1) must still place an index, or the order would lose one.
    const std::int32_t wanted = static_cast<std::int32_t>(std::clamp(pick, 1.0, static_cast<double>(remaining)));
    std::int32_t freeSeen = 0;
    for (std::int32_t i = 1; i <= imageCount; ++i) {
      if (taken[static_cast<std::size_t>(i)] || ++freeSeen < wanted) continue;
      taken[static_cast<std::size_t>(i)] = true;
      Place(showOrder, ++position, static_cast<std::int16_t>(i));
      break;
    }
  }
}
