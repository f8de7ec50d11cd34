#pragma once
// The records of 16-bit NE files that the icon-library reader and writer share. All numbers are
// little-endian. Resource offsets and lengths count alignment units of 2^AlignShift bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "os/LittleEndian.h"

namespace pictarix {

constexpr std::uint16_t kMzSignature = 0x5A4D;  // "MZ"
constexpr std::uint16_t kNeSignature = 0x454E;  // "NE"
constexpr std::uint16_t kPeSignature = 0x4550;  // "PE"

// MZ header: the low 16 bits of the new header's file offset.
constexpr std::uint64_t kNewHeaderOffsetField = 0x3C;
// A new header cannot start inside the MZ header.
constexpr std::uint16_t kMinNeHeaderOffset = 0x3C;

// NE header fields, relative to the header's start.
constexpr std::uint64_t kResourceTableField = 0x24;
constexpr std::uint64_t kResidentNamesField = 0x26;

// Resource table: a type id of 0 ends the type records; a name length of 0 ends the names.
constexpr std::size_t kTypeRecordSize = 8;  // type id, count, 4 reserved bytes
constexpr std::size_t kResourceEntrySize = 12;
constexpr std::uint16_t kResourceIdIsInteger = 0x8000;
constexpr std::uint16_t kNeTypeIcon = 0x8003;
constexpr std::uint16_t kNeTypeGroupIcon = 0x800E;
constexpr std::uint16_t kNeTypeCursor = 0x8001;
constexpr std::uint16_t kNeTypeGroupCursor = 0x800C;
constexpr std::uint16_t kNeTypeAnimatedCursor = 0x8015;
constexpr std::uint16_t kNeTypeAnimatedIcon = 0x8016;
// Resource flags the writer stores: movable, pure, discardable, preload-off.
constexpr std::uint16_t kNeResourceFlags = 0x1C30;

// Alignment shifts of 16 and more do not fit the 32-bit offsets they produce.
constexpr unsigned kMaxAlignShift = 15;

// The module name every icon library carries as its first name string.
constexpr char kIclModuleName[] = "ICL";

// True for a type id naming a predefined type whose low 8 bits are `type`.
constexpr bool IsPredefinedType(std::uint16_t typeId, std::uint8_t type) {
  return (typeId & kResourceIdIsInteger) != 0 && (typeId & 0xFF) == type;
}

// One resource entry, 12 bytes, kept as the file stores it.
struct ResourceEntry {
  std::uint16_t Offset = 0;  // from the start of the file, in units
  std::uint16_t Length = 0;  // in units
  std::uint16_t Flags = 0;
  std::uint16_t Id = 0;  // integer id with the high bit set; otherwise a named resource
  std::uint16_t Handle = 0;
  std::uint16_t Usage = 0;

  static ResourceEntry Parse(std::span<const std::uint8_t, kResourceEntrySize> bytes) {
    return ResourceEntry{LoadLe16(bytes.subspan<0, 2>()), LoadLe16(bytes.subspan<2, 2>()),
                         LoadLe16(bytes.subspan<4, 2>()), LoadLe16(bytes.subspan<6, 2>()),
                         LoadLe16(bytes.subspan<8, 2>()), LoadLe16(bytes.subspan<10, 2>())};
  }

  std::vector<std::uint8_t> Serialize() const {
    std::vector<std::uint8_t> out;
    out.reserve(kResourceEntrySize);
    for (const std::uint16_t word : {Offset, Length, Flags, Id, Handle, Usage})
      AppendLe16(out, word);
    return out;
  }
};

}  // namespace pictarix
