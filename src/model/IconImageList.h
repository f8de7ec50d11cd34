#pragma once
// The ordered, owning list of an icon's images (at most 65535).
#include <cstdint>
#include <memory>
#include <vector>

#include "model/IconImage.h"

namespace pictarix {

// Order of images: bit count, then the width byte (so 256, stored as 0, comes first).
int CompareIconImages(const IconImage& a, const IconImage& b);

class IconImageList {
 public:
  std::uint16_t Count() const { return static_cast<std::uint16_t>(items_.size()); }
  std::uint16_t Capacity() const { return capacity_; }
  void SetCapacity(std::uint16_t capacity);
  // Appends and takes ownership; raises PictarixError when the list already holds 65535.
  void Add(std::unique_ptr<IconImage> image);
  // The image at `index`, or nullptr when index is not below Count.
  IconImage* Get(int index) const;
  void Clear();
  // The quicksort of the system (not stable; equal images end where this procedure leaves them).
  void Sort();
  // The positions of the images in the order Sort would give them, without moving them.
  std::vector<int> SortedOrder() const;

 private:
  std::vector<std::unique_ptr<IconImage>> items_;
  std::uint16_t capacity_ = 0;
};

}  // namespace pictarix
