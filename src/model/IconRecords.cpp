#include "model/IconRecords.h"

#include <algorithm>

namespace pictarix {
namespace {

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}

IconEntryFields FieldsOf(std::span<const std::uint8_t> b) {
  IconEntryFields fields{};
  std::copy_n(b.begin(), fields.size(), fields.begin());
  return fields;
}

}  // namespace

IconHeader IconHeader::Parse(std::span<const std::uint8_t, kIconHeaderSize> bytes) {
  return IconHeader{U16(bytes, 0), U16(bytes, 2), U16(bytes, 4)};
}

void IconHeader::Write(TStream& stream) const {
  stream.WriteU16(Reserved);
  stream.WriteU16(Type);
  stream.WriteU16(Count);
}

std::uint32_t IconFileEntry::BytesInRes() const {
  return U32(Fields, 8);
}

IconFileEntry IconFileEntry::Parse(std::span<const std::uint8_t, kIconFileEntrySize> bytes) {
  return IconFileEntry{FieldsOf(bytes), U32(bytes, 12)};
}

void IconFileEntry::Write(TStream& stream) const {
  stream.Write(Fields);
  stream.WriteU32(ImageOffset);
}

std::uint32_t GroupIconEntry::BytesInRes() const {
  return U32(Fields, 8);
}

GroupIconEntry GroupIconEntry::Parse(std::span<const std::uint8_t, kGroupEntrySize> bytes) {
  return GroupIconEntry{FieldsOf(bytes), U16(bytes, 12)};
}

void GroupIconEntry::Write(TStream& stream) const {
  stream.Write(Fields);
  stream.WriteU16(Id);
}

}  // namespace pictarix
