#include "model/IconRecords.h"

#include <algorithm>

#include "os/ByteCursor.h"
#include "os/LittleEndian.h"

namespace pictarix {
namespace {

IconEntryFields FieldsOf(std::span<const std::uint8_t, kEntryFieldsSize> bytes) {
  IconEntryFields fields{};
  std::copy(bytes.begin(), bytes.end(), fields.begin());
  return fields;
}

}  // namespace

IconHeader IconHeader::Parse(std::span<const std::uint8_t, kIconHeaderSize> bytes) {
  return IconHeader{LoadLe16(bytes.subspan<0, 2>()), LoadLe16(bytes.subspan<2, 2>()),
                    LoadLe16(bytes.subspan<4, 2>())};
}

void IconHeader::Write(ByteStream& stream) const {
  stream.WriteU16(Reserved);
  stream.WriteU16(Type);
  stream.WriteU16(Count);
}

std::optional<std::uint16_t> IconHeaderCount(std::span<const std::uint8_t> bytes) {
  ByteCursor cursor(bytes);
  const auto raw = cursor.TakeRecord<kIconHeaderSize>();
  if (!raw) return std::nullopt;
  const IconHeader header = IconHeader::Parse(*raw);
  if (!header.IsIcon()) return std::nullopt;
  return header.Count;
}

std::uint32_t IconFileEntry::BytesInRes() const {
  return LoadLe32(std::span(Fields).subspan<8, 4>());
}

IconFileEntry IconFileEntry::Parse(std::span<const std::uint8_t, kIconFileEntrySize> bytes) {
  return IconFileEntry{FieldsOf(bytes.first<kEntryFieldsSize>()), LoadLe32(bytes.subspan<12, 4>())};
}

void IconFileEntry::Write(ByteStream& stream) const {
  stream.Write(Fields);
  stream.WriteU32(ImageOffset);
}

std::uint32_t GroupIconEntry::BytesInRes() const {
  return LoadLe32(std::span(Fields).subspan<8, 4>());
}

GroupIconEntry GroupIconEntry::Parse(std::span<const std::uint8_t, kGroupEntrySize> bytes) {
  return GroupIconEntry{FieldsOf(bytes.first<kEntryFieldsSize>()),
                        LoadLe16(bytes.subspan<12, 2>())};
}

void GroupIconEntry::Write(ByteStream& stream) const {
  stream.Write(Fields);
  stream.WriteU16(Id);
}

}  // namespace pictarix
