#pragma once
// The on-disk records of icon files and group-icon resources: the 6-byte header, the 16-byte
// icon-file directory entry and the 14-byte group entry. All numbers are little-endian.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "os/Stream.h"

namespace pictarix {

constexpr std::size_t kIconHeaderSize = 6;
constexpr std::size_t kIconFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
// Width, Height, ColorCount, Planes, BitCount, BytesInRes: the common start of both entries.
constexpr std::size_t kEntryFieldsSize = 12;
constexpr std::uint16_t kIconResourceType = 1;  // header type of icons (cursors are 2)

using IconEntryFields = std::array<std::uint8_t, kEntryFieldsSize>;

struct IconHeader {
  std::uint16_t Reserved = 0;
  std::uint16_t Type = kIconResourceType;
  std::uint16_t Count = 0;

  bool IsIcon() const { return Reserved == 0 && Type == kIconResourceType; }
  static IconHeader Parse(std::span<const std::uint8_t, kIconHeaderSize> bytes);
  void Write(ByteStream& stream) const;
};

// The image count of the icon header at the start of `bytes`; nothing when the header is cut off
// or is no icon header (reserved 0, type 1).
std::optional<std::uint16_t> IconHeaderCount(std::span<const std::uint8_t> bytes);

struct IconFileEntry {
  IconEntryFields Fields{};
  std::uint32_t ImageOffset = 0;  // from the start of the file

  std::uint32_t BytesInRes() const;
  static IconFileEntry Parse(std::span<const std::uint8_t, kIconFileEntrySize> bytes);
  void Write(ByteStream& stream) const;
};

struct GroupIconEntry {
  IconEntryFields Fields{};
  std::uint16_t Id = 0;  // the icon resource (type 3) holding the image data

  std::uint32_t BytesInRes() const;
  static GroupIconEntry Parse(std::span<const std::uint8_t, kGroupEntrySize> bytes);
  void Write(ByteStream& stream) const;
};

}  // namespace pictarix
