#include "formats/pe/PeResourceDirectory.h"

#include <algorithm>
#include <span>

#include "os/ByteCursor.h"

namespace pictarix {

namespace {

constexpr std::uint64_t kTableHeaderSize = 16;
constexpr std::uint64_t kEntrySize = 8;
constexpr std::uint32_t kHighBit = 0x80000000u;

}  // namespace

std::optional<std::vector<std::uint8_t>> PeResourceDirectory::ReadInside(std::uint64_t offset,
                                                                         std::uint64_t size) const {
  if (offset > extent_.Size || size > extent_.Size - offset) return std::nullopt;
  if (offset + size > prefix_.size() && !GrowPrefix(offset + size)) {
    return ReadFileRange(stream_, FileRange{extent_.Offset + offset, size});
  }
  const auto begin = prefix_.begin() + static_cast<std::ptrdiff_t>(offset);
  return std::vector<std::uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(size));
}

bool PeResourceDirectory::GrowPrefix(std::uint64_t end) const {
  const std::uint64_t wanted =
      std::min(extent_.Size, std::max({end, kFirstRead, std::uint64_t{prefix_.size()} * 2}));
  if (wanted > kMaxPrefix) return false;
  const std::uint64_t held = prefix_.size();
  const std::uint64_t size = stream_.Size();
  if (extent_.Offset > size || wanted > size - extent_.Offset) return false;
  // Read straight onto the end of the prefix.
  prefix_.resize(static_cast<std::size_t>(wanted));
  const auto more = std::span<std::uint8_t>(prefix_).subspan(static_cast<std::size_t>(held));
  stream_.Seek(extent_.Offset + held);
  if (stream_.Read(more) == more.size()) return true;
  prefix_.resize(static_cast<std::size_t>(held));
  return false;
}

std::optional<ResourceDirectoryTable> PeResourceDirectory::ReadTable(std::uint32_t offset,
                                                                     std::size_t maxEntries) const {
  const auto header = ReadInside(offset, kTableHeaderSize);
  if (!header) return std::nullopt;
  const ByteCursor headerCursor(*header);
  const std::uint64_t named = headerCursor.U16At(12).value_or(0);
  const std::uint64_t ids = headerCursor.U16At(14).value_or(0);
  const std::uint64_t count = named + ids;

  ResourceDirectoryTable table;
  table.Offset = offset;
  table.ByteSize = kTableHeaderSize + count * kEntrySize;
  // The counts must fit the extent before a single entry is read or allocated.
  if (std::uint64_t{offset} + table.ByteSize > extent_.Size) return std::nullopt;

  const std::uint64_t wanted = std::min<std::uint64_t>(count, maxEntries);
  const auto entries = ReadInside(std::uint64_t{offset} + kTableHeaderSize, wanted * kEntrySize);
  if (!entries) return std::nullopt;
  const ByteCursor cursor(*entries);
  table.Entries.resize(static_cast<std::size_t>(wanted));
  for (std::uint64_t i = 0; i < wanted; ++i) {
    const std::uint32_t name = cursor.U32At(i * kEntrySize).value_or(0);
    const std::uint32_t target = cursor.U32At(i * kEntrySize + 4).value_or(0);
    ResourceDirectoryEntry& entry = table.Entries[static_cast<std::size_t>(i)];
    entry.IsNamed = (name & kHighBit) != 0;
    entry.NameOffset = name & ~kHighBit;
    entry.Id = static_cast<std::uint16_t>(name);
    entry.IsSubdirectory = (target & kHighBit) != 0;
    entry.Offset = target & ~kHighBit;
  }
  return table;
}

std::optional<std::uint16_t> PeResourceDirectory::NameLength(std::uint32_t offset) const {
  const auto lengthBytes = ReadInside(offset, 2);
  if (!lengthBytes) return std::nullopt;
  return ByteCursor(*lengthBytes).U16At(0);
}

std::optional<std::u16string> PeResourceDirectory::ReadName(std::uint32_t offset) const {
  const auto lengthField = NameLength(offset);
  if (!lengthField) return std::nullopt;
  const std::uint64_t length = *lengthField;
  const auto text = ReadInside(std::uint64_t{offset} + 2, length * 2);
  if (!text) return std::nullopt;
  const ByteCursor cursor(*text);
  std::u16string name(static_cast<std::size_t>(length), u'\0');
  for (std::uint64_t i = 0; i < length; ++i) {
    name[static_cast<std::size_t>(i)] = static_cast<char16_t>(cursor.U16At(i * 2).value_or(0));
  }
  return name;
}

std::optional<ResourceDataEntry> PeResourceDirectory::ReadDataEntry(std::uint32_t offset) const {
  const auto bytes = ReadInside(offset, kResourceDataEntrySize);
  if (!bytes) return std::nullopt;
  const ByteCursor cursor(*bytes);
  return ResourceDataEntry{cursor.U32At(0).value_or(0), cursor.U32At(4).value_or(0)};
}

bool ResourceDirectoryPath::Enter(std::uint64_t offset, std::uint64_t size) {
  const Span span{offset, offset + size};
  for (const Span& held : spans_) {
    if (span.Begin < held.End && held.Begin < span.End) return false;
  }
  spans_.push_back(span);
  return true;
}

}  // namespace pictarix
