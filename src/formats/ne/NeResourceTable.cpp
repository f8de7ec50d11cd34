#include "formats/ne/NeResourceTable.h"

#include <algorithm>
#include <string>

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

// A resource's name: its integer id in decimal, or the length-prefixed string at its offset
// from the start of the table (empty when `table` does not hold it).
std::string EntryName(std::uint16_t id, const ByteCursor& table) {
  if (id & kResourceIdIsInteger) return std::to_string(id & ~kResourceIdIsInteger);
  const auto length = table.U8At(id);
  const auto text = length ? table.Sub(std::uint64_t{id} + 1, *length) : std::nullopt;
  if (!text) return {};
  return std::string(text->Bytes().begin(), text->Bytes().end());
}

// The list of `table` that keeps the entries of a type record; nothing for the types not kept.
std::vector<ResourceEntry>* KeptEntries(NeResourceTable& table, std::uint16_t typeId) {
  if (IsPredefinedType(typeId, kResourceTypeIcon)) return &table.IconEntries;
  if (IsPredefinedType(typeId, kResourceTypeGroupIcon)) return &table.GroupEntries;
  if (IsPredefinedType(typeId, kNeTypeCursor & 0xFF)) return &table.CursorEntries;
  if (IsPredefinedType(typeId, kNeTypeGroupCursor & 0xFF)) return &table.GroupCursorEntries;
  if (IsPredefinedType(typeId, kNeTypeAnimatedCursor & 0xFF) ||
      IsPredefinedType(typeId, kNeTypeAnimatedIcon & 0xFF)) {
    return &table.AnimatedEntries;
  }
  return nullptr;
}

}  // namespace

std::optional<NeResourceTable> NeResourceTable::Parse(ByteCursor bytes) {
  const ByteCursor whole = bytes;
  NeResourceTable table;
  if (!bytes.ReadU16(table.AlignShift)) return std::nullopt;
  if (table.AlignShift > kMaxAlignShift) throw IconLibraryError("Invalid resource alignment");

  std::uint16_t typeId = 0;
  if (!bytes.ReadU16(typeId)) return std::nullopt;
  while (typeId != 0) {
    std::uint16_t count = 0;
    if (!bytes.ReadU16(count) || !bytes.Skip(4)) return std::nullopt;  // 4 reserved bytes
    table.TypeIds.push_back(typeId);
    if (std::vector<ResourceEntry>* kept = KeptEntries(table, typeId)) {
      auto entries = ParseEntries(bytes, count);
      if (!entries) return std::nullopt;
      // A later record of the same type replaces an earlier one; animated cursors and animated
      // icons share one list.
      if (kept != &table.AnimatedEntries) kept->clear();
      kept->insert(kept->end(), entries->begin(), entries->end());
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
  for (std::size_t i = 0; i < table.CursorEntries.size(); ++i) {
    // Only integer ids can be named by a group.
    const std::uint16_t id = table.CursorEntries[i].Id;
    if (id & kResourceIdIsInteger) {
      table.cursorsById_.emplace_back(static_cast<std::uint16_t>(id ^ kResourceIdIsInteger),
                                      static_cast<std::uint32_t>(i));
    }
  }
  std::sort(table.cursorsById_.begin(), table.cursorsById_.end());
  for (const ResourceEntry& group : table.GroupCursorEntries)
    table.GroupCursorNames.push_back(EntryName(group.Id, whole));
  for (const ResourceEntry& animated : table.AnimatedEntries)
    table.AnimatedNames.push_back(EntryName(animated.Id, whole));
  if (!table.IconEntries.empty() && !table.GroupEntries.empty()) {
    auto names = ParseNames(bytes);
    if (!names) return std::nullopt;
    table.Names = std::move(*names);
  }
  return table;
}

std::optional<std::size_t> NeResourceTable::FindCursorEntry(std::uint16_t id) const {
  const auto found = std::lower_bound(cursorsById_.begin(), cursorsById_.end(),
                                      std::pair<std::uint16_t, std::uint32_t>(id, 0));
  if (found == cursorsById_.end() || found->first != id) return std::nullopt;
  return found->second;
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
