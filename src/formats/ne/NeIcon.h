#pragma once
// The icons of a 16-bit NE file, built from its resource table and blocks.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/IconList.h"
#include "formats/Progress.h"
#include "formats/ne/NeBlocks.h"
#include "formats/ne/NeResourceTable.h"
#include "model/AdvancedIcon.h"
#include "model/IconImage.h"
#include "model/IconRecords.h"

namespace pictarix {

// An image made from the first 12 bytes of a group directory entry and a data block.
class NeIconImage : public IconImage {
 public:
  NeIconImage(const IconEntryFields& fields, ImageData block);
};

class NeIcon : public AdvancedIcon {
 public:
  // The file-based name: the file's base name, a blank, and the 1-based group number with at
  // least three digits ("tools 001").
  std::string Name;
};

// The icon of one group directory: every image it lists, each found by id in the table and
// read from `blocks`. A directory whose header is no icon header (or an empty block) gives an
// icon without images; a directory shorter than its image count, or an image id the table
// lacks, raises IconLibraryError.
std::unique_ptr<NeIcon> BuildICL16Icon(std::span<const std::uint8_t> directory,
                                       const NeResourceTable& table, NeBlocks& blocks);

// What a group that names an icon image the file lacks does: fail the whole read (where the file
// is to be rewritten, nothing may be lost), or leave out that group's icon only (when listing).
enum class MissingImage { FailTheRead, LeaveOutTheIcon };

// One named icon per group entry, in table order: named by the table's name strings when there
// is one per group, else by NeIcon::Name made from `baseName`. Reports progress (groups,
// groups done) after each group.
std::vector<IconEntry> BuildICL16Icons(const NeResourceTable& table, NeBlocks& blocks,
                                       const std::string& baseName, const ProgressCallback& progress,
                                       MissingImage missing = MissingImage::FailTheRead);

}  // namespace pictarix
