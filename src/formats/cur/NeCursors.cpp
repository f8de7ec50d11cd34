#include "formats/cur/NeCursors.h"

#include <algorithm>
#include <memory>
#include <span>

#include "formats/ICLReader.h"
#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorRecords.h"
#include "model/IconRecords.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"
#include "os/Errors.h"

namespace pictarix {
namespace {

// The cursor of one group directory; nothing when it cannot be read whole.
std::unique_ptr<AdvancedIcon> BuildNeCursor(std::span<const std::uint8_t> directory,
                                            const NeResourceTable& table, NeBlocks& blocks) {
  const auto count = CursorHeaderCount(directory);
  if (!count) return nullptr;
  ByteCursor entries(directory);
  entries.Skip(kIconHeaderSize);
  if (std::uint64_t{kGroupEntrySize} * *count > entries.Remaining()) return nullptr;
  auto cursor = std::make_unique<AdvancedIcon>();
  cursor->Kind = EntryKind::Cursor;
  cursor->Images.SetCapacity(*count);
  for (int i = 0; i < *count; ++i) {
    const GroupIconEntry entry = GroupIconEntry::Parse(*entries.TakeRecord<kGroupEntrySize>());
    const auto index = table.FindCursorEntry(entry.Id);
    if (!index) return nullptr;
    const std::vector<std::uint8_t> block = blocks.Group(table.CursorEntries[*index]);
    // The block is padded to the file's alignment; the entry states the resource's own size
    // (when it states one that can hold a hotspot at all).
    const std::size_t size = entry.BytesInRes() >= kCursorResourceHotspotSize
                                 ? std::min<std::size_t>(block.size(), entry.BytesInRes())
                                 : block.size();
    cursor->Images.Add(CursorImageFromResource(std::span(block.data(), size)));
  }
  return cursor;
}

std::string NumberedCursorName(const std::string& baseName, std::size_t number) {
  return baseName + " cursor " + std::to_string(number);
}

std::string CaptionOf(const std::string& name, const std::string& baseName, std::size_t number) {
  return name.empty() ? NumberedCursorName(baseName, number) : Windows1252ToUtf8(name);
}

}  // namespace

std::vector<IconEntry> BuildNeCursors(const NeResourceTable& table, NeBlocks& blocks,
                                      const std::string& baseName, std::size_t& leftOut) {
  std::vector<IconEntry> cursors;
  for (std::size_t i = 0; i < table.GroupCursorEntries.size(); ++i) {
    std::unique_ptr<AdvancedIcon> cursor;
    try {
      const std::vector<std::uint8_t> directory = blocks.Group(table.GroupCursorEntries[i]);
      cursor = BuildNeCursor(directory, table, blocks);
    } catch (const IconLibraryError&) {
      cursor = nullptr;  // this group only
    }
    if (!cursor) {
      ++leftOut;
      continue;
    }
    cursors.push_back(
        IconEntry{CaptionOf(table.GroupCursorNames[i], baseName, i + 1), std::move(cursor)});
  }
  return cursors;
}

std::vector<IconEntry> BuildNeAnimatedCursors(const NeResourceTable& table, NeBlocks& blocks,
                                              const std::string& baseName, std::size_t& leftOut) {
  std::vector<IconEntry> cursors;
  for (std::size_t i = 0; i < table.AnimatedEntries.size(); ++i) {
    auto cursor = std::make_unique<AdvancedIcon>();
    try {
      // The block is padded to the file's alignment; the form's own size ends it.
      ReadAnimatedCursor(blocks.Group(table.AnimatedEntries[i]), *cursor);
    } catch (const PictarixError&) {
      ++leftOut;  // this resource only
      continue;
    }
    cursors.push_back(
        IconEntry{CaptionOf(table.AnimatedNames[i], baseName, i + 1), std::move(cursor)});
  }
  return cursors;
}

}  // namespace pictarix
