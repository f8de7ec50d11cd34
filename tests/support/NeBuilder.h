#pragma once
// 16-bit NE files built byte by byte for tests, independently of the system's writer: an MZ
// header, an NE header, a resource table with its name strings, and the resource data placed on
// alignment boundaries. Fields can be overridden to make broken files.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/AdvancedIcon.h"
#include "support/FileBytes.h"

namespace pictarix::testing {

// Little-endian bytes, appended or patched.
class ByteWriter {
 public:
  ByteWriter& U8(std::uint8_t value);
  ByteWriter& U16(std::uint16_t value);
  ByteWriter& U32(std::uint32_t value);
  ByteWriter& Bytes(std::span<const std::uint8_t> bytes);
  ByteWriter& Text(std::string_view text);
  ByteWriter& Zeros(std::size_t count);
  ByteWriter& PadTo(std::size_t size);  // zeros up to `size`
  void U16At(std::size_t at, std::uint16_t value);
  std::size_t Size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& Data() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// A bitmap icon image of side x side pixels: a 40-byte information header (height doubled for
// the mask), a colour table for up to 8 bits, colour bits and mask bits, filled with `fill`.
// 32x32 at 4 bits is 744 bytes, 16x16 at 4 bits 296.
std::vector<std::uint8_t> DibImage(int side, int bitCount, std::uint8_t fill = 0x5A);

struct NeGroupEntry {
  std::uint8_t Width = 32;
  std::uint8_t Height = 32;
  std::uint16_t ColorCount = 16;
  std::uint16_t Planes = 1;
  std::uint16_t BitCount = 4;
  std::uint32_t BytesInRes = 0;
  std::uint16_t Id = 1;
};
// A group directory: reserved 0, type 1, `count` (default: the number of entries), entries.
std::vector<std::uint8_t> GroupDirectory(const std::vector<NeGroupEntry>& entries,
                                         std::optional<std::uint16_t> count = std::nullopt);
// The entry describing a DibImage (size and bit count read from its header).
NeGroupEntry EntryFor(const std::vector<std::uint8_t>& image, std::uint16_t id);

struct NeResource {
  std::uint16_t Id = 0x8001;  // stored as given
  std::vector<std::uint8_t> Data;
  std::optional<std::uint16_t> OffsetUnits;  // instead of where the data was placed
  std::optional<std::uint16_t> LengthUnits;  // instead of the data's size in units
};

struct NeTypeRecord {
  std::uint16_t TypeId = 0;
  std::vector<NeResource> Resources;
  std::optional<std::uint16_t> Count;  // instead of the number of resources
};

// Positions in a built file.
struct NeLayout {
  std::size_t HeaderPos = 0;
  std::size_t ResourceTablePos = 0;
  std::size_t NamesPos = 0;
  std::size_t NamesEnd = 0;  // after the terminating 0 (where the data area begins)
  std::vector<std::vector<std::size_t>> EntryPos;  // per type record, per resource
  std::vector<std::vector<std::size_t>> DataPos;
};

struct NeFile {
  std::uint16_t HeaderOffset = 0x40;
  std::uint16_t AlignShift = 0;
  std::vector<NeTypeRecord> Types;
  std::vector<std::string> Names;                   // raw 8-bit name strings after the type records
  bool EndTypes = true;                             // the 0 after the type records
  bool EndNames = true;                             // the 0 after the names
  std::optional<std::uint16_t> ResourceTableField;  // default: right after the 64-byte header
  std::optional<std::uint16_t> NamesField;          // default: after the names

  std::vector<std::uint8_t> Build(NeLayout* layout = nullptr) const;
};

// An icon library as the system writes it, built here independently: "ICL" and the names, one
// group per icon, images numbered 1.. through all icons.
struct IclIcon {
  std::string Name;  // raw 8-bit
  std::vector<std::vector<std::uint8_t>> Images;
};
NeFile IclFile(const std::vector<IclIcon>& icons, std::uint16_t alignShift = 0);

// An in-memory icon holding these images (fields derived from each image's header).
std::unique_ptr<AdvancedIcon> IconFromImages(const std::vector<std::vector<std::uint8_t>>& images);

}  // namespace pictarix::testing
