#pragma once
// The cursors of a 16-bit NE file, built from its resource table and blocks: one per group
// cursor, each image the cursor resource (hotspot, then image) its entry names.
#include <vector>

#include "formats/IconList.h"
#include "formats/ne/NeBlocks.h"
#include "formats/ne/NeResourceTable.h"

namespace pictarix {

// One named cursor per group cursor, in table order, named by the group's id or name
// (`baseName` and its 1-based number when the name cannot be read). A group that cannot be read
// whole (no cursor header, an image the table lacks, a block past the end of the file or over
// the read limit) is left out and counted in `leftOut`; the icons of the file stay readable.
std::vector<IconEntry> BuildNeCursors(const NeResourceTable& table, NeBlocks& blocks,
                                      const std::string& baseName, std::size_t& leftOut);

// One animated entry per animated cursor or icon resource, in table order, named as cursors are.
// One that cannot be read is left out and counted in `leftOut`.
std::vector<IconEntry> BuildNeAnimatedCursors(const NeResourceTable& table, NeBlocks& blocks,
                                              const std::string& baseName, std::size_t& leftOut);

}  // namespace pictarix
