#include "formats/ne/NeResourceTable.h"

#include <algorithm>

#include "formats/ICLReader.h"
#include "formats/pe/ResourceName.h"

namespace pictarix {
namespace {

std::optional<std::vector<ResourceEntry>> ParseEntries(ByteCursor& bytes, std::uint16_t count) {
  if (std::uint64_t{count} * kResourceEntrySize > bytes.Remaining()) return std::nullopt;
  std::vector<ResourceEntry> entries;
  entries.reserve(count);
  for (int i = 0; i < count; ++i) {
    entries.push_back(ResourceEntry::Parse(*bytes.TakeRecord<kResourceEntrySize>()));
  }
  return entries;
}

// The length-prefixed strings up to a length of 0; nothing when the bytes end first.
std::optional<std::vector<std::string>> ParseNames(ByteCursor& bytes) {
  std::vector<std::string> names;
  std::uint8_t length = 0;
  if (!bytes.ReadU8(length)) return std::nullopt;
  while (length != 0) {
    const auto text = bytes.Take(length);
    if (!text) return std::nullopt;
    std::string name(text->begin(), text->end());
    // Only leading module names are dropped, and only the exact "ICL".
    if (!(names.empty() && name == kIclModuleName)) names.push_back(std::move(name));
    if (!bytes.ReadU8(length)) return std::nullopt;
  }
  return names;
}

}  // namespace

std::optional<NeResourceTable> NeResourceTable::Parse(ByteCursor bytes) {
  NeResourceTable table;
  if (!bytes.ReadU16(table.AlignShift)) return std::nullopt;
  if (table.AlignShift > kMaxAlignShift) throw IconLibraryError("Invalid resource alignment");

  std::uint16_t typeId = 0;
  if (!bytes.ReadU16(typeId)) return std::nullopt;
  while (typeId != 0) {
    std::uint16_t count = 0;
    if (!bytes.ReadU16(count) || !bytes.Skip(4)) return std::nullopt;  // 4 reserved bytes
    table.TypeIds.push_back(typeId);
    // A later record of the same type replaces an earlier one.
    if (IsPredefinedType(typeId, kResourceTypeIcon)) {
      auto entries = ParseEntries(bytes, count);
      if (!entries) return std::nullopt;
      table.IconEntries = std::move(*entries);
    } else if (IsPredefinedType(typeId, kResourceTypeGroupIcon)) {
      auto entries = ParseEntries(bytes, count);
      if (!entries) return std::nullopt;
      table.GroupEntries = std::move(*entries);
    } else if (!bytes.Skip(std::uint64_t{count} * kResourceEntrySize)) {
      return std::nullopt;
    }
    if (!bytes.ReadU16(typeId)) return std::nullopt;
  }

  table.entriesById_.reserve(table.IconEntries.size());
  for (std::size_t i = 0; i < table.IconEntries.size(); ++i) {
    table.entriesById_.emplace_back(
        static_cast<std::uint16_t>(table.IconEntries[i].Id ^ kResourceIdIsInteger),
        static_cast<std::uint32_t>(i));
  }
  std::sort(table.entriesById_.begin(), table.entriesById_.end());
  if (!table.IconEntries.empty() && !table.GroupEntries.empty()) {
    auto names = ParseNames(bytes);
    if (!names) return std::nullopt;
    table.Names = std::move(*names);
  }
  return table;
}

std::size_t NeResourceTable::FindEntry(std::uint16_t id) const {
  const auto found = std::lower_bound(entriesById_.begin(), entriesById_.end(),
                                      std::pair<std::uint16_t, std::uint32_t>(id, 0));
  if (found == entriesById_.end() || found->first != id) {
    throw IconImageMissing();
  }
  return found->second;
}

}  // namespace pictarix
