#include "model/IconImageList.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "os/Errors.h"

namespace pictarix {

int CompareIconImages(const IconImage& a, const IconImage& b) {
  if (a.BitCount != b.BitCount) return a.BitCount < b.BitCount ? -1 : 1;
  if (a.Width != b.Width) return a.Width < b.Width ? -1 : 1;
  return 0;
}

void IconImageList::SetCapacity(std::uint16_t capacity) {
  capacity_ = std::max(capacity, Count());
  items_.reserve(capacity_);
}

void IconImageList::Add(std::unique_ptr<IconImage> image) {
  if (!image) throw std::invalid_argument("IconImageList::Add: no image");
  if (items_.size() >= std::numeric_limits<std::uint16_t>::max()) {
    throw PictarixError("An icon cannot hold more than 65535 images");
  }
  // The slot count grows one at a time; the vector below grows geometrically on its own.
  if (Count() == capacity_) capacity_ = static_cast<std::uint16_t>(Count() + 1);
  items_.push_back(std::move(image));
}

IconImage* IconImageList::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void IconImageList::Clear() {
  std::vector<std::unique_ptr<IconImage>>().swap(items_);
  capacity_ = 0;
}

void IconImageList::Sort() {
  const std::vector<int> order = SortedOrder();
  std::vector<std::unique_ptr<IconImage>> sorted;
  sorted.reserve(items_.capacity());
  for (const int at : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(at)]));
  items_.swap(sorted);
}

std::vector<int> IconImageList::SortedOrder() const {
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  if (order.empty()) return order;
  // Hoare's partitioning around the middle item, exactly as the system has always sorted (the
  // order of equal images depends on it). Partitions are disjoint, so keeping pending left parts
  // on an explicit stack instead of recursing gives the same result without deep recursion.
  std::vector<std::pair<int, int>> pending{{0, Count() - 1}};
  while (!pending.empty()) {
    auto [left, right] = pending.back();
    pending.pop_back();
    int i = 0;
    do {
      i = left;
      int j = right;
      auto at = [this, &order](int k) -> const IconImage& {
        return *items_[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
      };
      const IconImage* pivot = &at((left + right) / 2);
      do {
        while (CompareIconImages(at(i), *pivot) < 0) ++i;
        while (CompareIconImages(at(j), *pivot) > 0) --j;
        if (i <= j) {
          std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (left < j) pending.emplace_back(left, j);
      left = i;
    } while (i < right);
  }
  return order;
}

}  // namespace pictarix
