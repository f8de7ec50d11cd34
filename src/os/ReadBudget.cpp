#include "os/ReadBudget.h"

#include <algorithm>

#include "os/Stream.h"

namespace pictarix {

ReadBudget::ReadBudget(std::uint64_t storedBytes) {
  const std::uint64_t perByteRoom = (kCeiling - kBase) / kPerFileByte;
  left_ = std::min(kCeiling, kBase + kPerFileByte * std::min(storedBytes, perByteRoom));
}

ReadBudget::ReadBudget(const ByteStream& stream) : ReadBudget(stream.StoredSize()) {}

bool ReadBudget::Spend(std::uint64_t bytes) {
  if (bytes > left_ || bytes > kMaxClaim + kImageOverhead) {
    ++refusals_;
    return false;
  }
  left_ -= bytes;
  return true;
}

}  // namespace pictarix
