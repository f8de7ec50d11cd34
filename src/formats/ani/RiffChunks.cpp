#include "formats/ani/RiffChunks.h"

#include <algorithm>

namespace pictarix {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;

std::string_view FourCharacters(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), 4};
}

}  // namespace

bool RiffChunks::Next(RiffChunk& chunk) {
  if (ended_) return false;
  const auto header = bytes_.TakeRecord<kChunkHeaderSize>();
  if (!header) {
    ended_ = true;
    return false;
  }
  const std::uint32_t size = *ByteCursor(*header).U32At(4);
  chunk.Id = FourCharacters(*header);
  chunk.CutOff = size > bytes_.Remaining();
  const auto data = bytes_.Take(std::min<std::uint64_t>(size, bytes_.Remaining()));
  chunk.Data = *data;
  if (chunk.CutOff) {
    ended_ = true;
  } else if (size % 2 == 1) {
    bytes_.Skip(std::min<std::size_t>(1, bytes_.Remaining()));  // the pad byte
  }
  return true;
}

bool ReadRiffForm(std::span<const std::uint8_t> bytes, RiffForm& form) {
  if (bytes.size() < 12 || FourCharacters(bytes) != "RIFF") return false;
  form.Type = FourCharacters(bytes.subspan(8));
  // The form ends where its size says or where the bytes do, whichever comes first.
  const std::uint64_t size = *ByteCursor(bytes).U32At(4);
  const std::uint64_t chunks = size < 4 ? 0 : std::min<std::uint64_t>(size - 4, bytes.size() - 12);
  form.Chunks = bytes.subspan(12, static_cast<std::size_t>(chunks));
  return true;
}

}  // namespace pictarix
