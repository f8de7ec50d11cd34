#include "platform/ReadBudget.h"

#include <limits>

namespace pictarix {

ReadBudget::ReadBudget(std::uint64_t fileSize) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  left_ = fileSize > (kMax - kBase) / kPerFileByte ? kMax : kBase + kPerFileByte * fileSize;
}

bool ReadBudget::Spend(std::uint64_t bytes) {
  if (bytes > left_) return false;
  left_ -= bytes;
  return true;
}

}  // namespace pictarix
