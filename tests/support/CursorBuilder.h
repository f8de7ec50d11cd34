#pragma once
// Cursor files, animated cursors (RIFF chunk by chunk) and cursor resources built byte by byte
// for tests and fuzz seeds. Free of gtest.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pictarix::testing {

using ByteVector = std::vector<std::uint8_t>;

struct CursorImage {
  ByteVector Image;  // a bitmap or PNG blob
  std::uint16_t HotspotX = 0;
  std::uint16_t HotspotY = 0;
};

// A cursor file: header type 2, the hotspot in each entry's planes and bit-count words.
ByteVector CursorFile(const std::vector<CursorImage>& images);
// A cursor resource: the hotspot's two words, then the image.
ByteVector CursorResource(const CursorImage& image);
// A group-cursor resource naming cursor resources `ids` (14-byte entries; only the ids matter).
ByteVector GroupCursor(const std::vector<std::uint16_t>& ids);

// 32-bit little-endian words.
ByteVector Words(const std::vector<std::uint32_t>& words);
// One chunk: id, size (the data's unless given), data, a pad byte after odd data.
ByteVector Chunk(const std::string& id, const ByteVector& data,
                 std::optional<std::uint32_t> size = std::nullopt);
// A "LIST" chunk of `type` holding the chunks given.
ByteVector List(const std::string& type, const std::vector<ByteVector>& chunks);
// "anih": size 36, frames, steps, width and height 0, bit count and planes 0, rate, flags.
ByteVector AniHeader(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate,
                     std::uint32_t flags = 1);
// A RIFF file of form `type` holding the chunks given.
ByteVector RiffFile(const std::vector<ByteVector>& chunks, const std::string& type = "ACON");

}  // namespace pictarix::testing
