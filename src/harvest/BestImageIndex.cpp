#include "harvest/BestImageIndex.h"

namespace pictarix {

int BestImageIndex(const TAdvancedIcon& icon, std::int32_t size, std::int32_t maxColors) {
  try {
    const TIconImageList& images = icon.Images;
    const int count = images.Count();
    if (count == 0) return -1;
    if (size > 8) {
      for (int i = count - 1; i >= 0; --i) {
        const TIconImage* image = images.Get(i);
        if (image != nullptr && image->Width == size && image->Height == size) return i;
      }
      return -1;
    }
    if (maxColors > 0) {
      for (int i = count - 1; i >= 0; --i) {
        const TIconImage* image = images.Get(i);
        if (image != nullptr && image->ColorCount != 0 && image->ColorCount <= maxColors) return i;
      }
    }
    return -1;
  } catch (...) {
    return -1;
  }
}

}  // namespace pictarix
