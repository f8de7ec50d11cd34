#include "harvest/BestImageIndex.h"

#include <numeric>
#include <vector>

namespace pictarix {
namespace {

// The position in `order` (positions of the icon's images) of the image that fits, or -1.
int BestInOrder(const IconImageList& images, const std::vector<int>& order, std::int32_t size,
                std::int32_t maxColors) {
  const int count = static_cast<int>(order.size());
  const auto at = [&](int i) { return images.Get(order[static_cast<std::size_t>(i)]); };
  if (size > 8) {
    for (int i = count - 1; i >= 0; --i) {
      const IconImage* image = at(i);
      if (image != nullptr && image->Width == size && image->Height == size) return i;
    }
    return -1;
  }
  if (maxColors > 0) {
    for (int i = count - 1; i >= 0; --i) {
      const IconImage* image = at(i);
      if (image != nullptr && image->ColorCount != 0 && image->ColorCount <= maxColors) return i;
    }
  }
  return -1;
}

}  // namespace

int BestImageIndex(const AdvancedIcon& icon, std::int32_t size, std::int32_t maxColors) {
  try {
    std::vector<int> order(icon.Images.Count());
    std::iota(order.begin(), order.end(), 0);
    return BestInOrder(icon.Images, order, size, maxColors);
  } catch (...) {
    return -1;
  }
}

int BestGifImageIndex(const AdvancedIcon& icon, std::int32_t maxColors) {
  try {
    const std::vector<int> order = icon.Images.SortedOrder();
    const int best = BestInOrder(icon.Images, order, 0, maxColors);
    return best < 0 ? -1 : order[static_cast<std::size_t>(best)];
  } catch (...) {
    return -1;
  }
}

}  // namespace pictarix
