#pragma once
// The chunks of a RIFF form held in memory, one after another: a four-character id, a 32-bit
// size, the data, and a pad byte after data of odd size. Sizes are never trusted: a chunk that
// claims more than the bytes hold is cut off where they end, and ends the walk.
#include <cstdint>
#include <span>
#include <string_view>

#include "os/ByteCursor.h"

namespace pictarix {

struct RiffChunk {
  std::string_view Id;  // four characters, a view into the bytes walked
  std::span<const std::uint8_t> Data;
  bool CutOff = false;  // the chunk claims more than the bytes hold
};

class RiffChunks {
 public:
  // Walks the chunks that fill `bytes` (the data of a form or list after its type).
  explicit RiffChunks(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // The next chunk; false at the end of the bytes, or after a chunk that was cut off. Each call
  // moves on by at least a chunk header, so a walk takes at most one step per 8 bytes.
  bool Next(RiffChunk& chunk);

 private:
  ByteCursor bytes_;
  bool ended_ = false;
};

// The form type of a RIFF file ("ACON" for an animated cursor) and the chunks it holds (as far
// as both the form's size and the bytes go); nothing when `bytes` start with no RIFF
// header.
struct RiffForm {
  std::string_view Type;
  std::span<const std::uint8_t> Chunks;
};
bool ReadRiffForm(std::span<const std::uint8_t> bytes, RiffForm& form);

}  // namespace pictarix
