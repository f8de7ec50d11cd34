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
class TICL16IconImage : public TIconImage {
 public:
  TICL16IconImage(const IconEntryFields& fields, ImageData block);
};

class TICL16Icon : public TAdvancedIcon {
 public:
  // The file-based name: the file's base name, a blank, and the 1-based group number with at
  // least three digits ("tools 001").
  std::string Name;
};

// The icon of one group directory: every image it lists, each found by id in the table and
// read from `blocks`. A directory whose header is no icon header (or an empty block) gives an
// icon without images; a directory shorter than its image count, or an image id the table
// lacks, raises EICLReadError.
std::unique_ptr<TICL16Icon> BuildICL16Icon(std::span<const std::uint8_t> directory,
                                           const TNeResourceTable& table, TNeBlocks& blocks);

// What a group that names an icon image the file lacks does: fail the whole read (where the file
// is to be rewritten, nothing may be lost), or leave out that group's icon only (when listing).
enum class TMissingImage { FailTheRead, LeaveOutTheIcon };

// One named icon per group entry, in table order: named by the table's name strings when there
// is one per group, else by TICL16Icon::Name made from `baseName`. Reports progress (groups,
// groups done) after each group.
std::vector<TIconEntry> BuildICL16Icons(const TNeResourceTable& table, TNeBlocks& blocks,
                                        const std::string& baseName, const TProgress& progress,
                                        TMissingImage missing = TMissingImage::FailTheRead);

}  // namespace pictarix
