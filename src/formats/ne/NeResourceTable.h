#pragma once
// The resource table of a 16-bit NE file as data: the alignment shift, the icon-image and
// group-icon entries, every type id and the name strings that follow the table. Parsed from
// bytes already held; the reader fetches them.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formats/ne/NeStructures.h"
#include "os/ByteCursor.h"

namespace pictarix {

class NeResourceTable {
 public:
  // Parses the table at the start of `bytes`: IconLibraryError "Invalid resource alignment" for a
  // shift beyond kMaxAlignShift; nothing when the bytes end before the table does (more bytes
  // of the file may complete it).
  static std::optional<NeResourceTable> Parse(ByteCursor bytes);

  // Index of the first icon-image entry with integer id `id`; IconImageMissing ("Icon Resource
  // Not Found") when there is none.
  std::size_t FindEntry(std::uint16_t id) const;

  // Index of the first cursor entry with integer id `id`; nothing when there is none.
  std::optional<std::size_t> FindCursorEntry(std::uint16_t id) const;

  std::uint16_t AlignShift = 0;
  std::vector<ResourceEntry> IconEntries;
  std::vector<ResourceEntry> GroupEntries;
  // Cursor resources (hotspot, then image) and group cursors.
  std::vector<ResourceEntry> CursorEntries;
  std::vector<ResourceEntry> GroupCursorEntries;
  // The name of each group cursor: its integer id in decimal, or its name string (Windows-1252
  // bytes; empty when the table bytes do not hold it).
  std::vector<std::string> GroupCursorNames;
  // Animated cursors and animated icons, each a whole animated-cursor file, and their names (as
  // for group cursors).
  std::vector<ResourceEntry> AnimatedEntries;
  std::vector<std::string> AnimatedNames;
  // Every type id of the table, in file order.
  std::vector<std::uint16_t> TypeIds;
  // The Windows-1252 name strings after the table (read only when both records are present),
  // without a leading "ICL".
  std::vector<std::string> Names;

 private:
  // (id, index) of every icon-image entry, sorted: the first entry of an id comes first.
  std::vector<std::pair<std::uint16_t, std::uint32_t>> entriesById_;
  std::vector<std::pair<std::uint16_t, std::uint32_t>> cursorsById_;  // the same for cursors
};

}  // namespace pictarix
