#include "formats/ne/NeIcon.h"

#include <array>
#include <cstdio>

#include "formats/ICLReader.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"

namespace pictarix {
namespace {

// "%s %0.3d"
std::string NumberedName(const std::string& baseName, std::size_t number) {
  std::array<char, 24> digits{};
  std::snprintf(digits.data(), digits.size(), "%03zu", number);
  return baseName + " " + digits.data();
}

}  // namespace

NeIconImage::NeIconImage(const IconEntryFields& fields, ImageData block) {
  SetEntryFields(fields);
  Data = std::move(block);
  UpdateFromHeader();
}

std::unique_ptr<NeIcon> BuildICL16Icon(std::span<const std::uint8_t> directory,
                                       const NeResourceTable& table, NeBlocks& blocks) {
  auto icon = std::make_unique<NeIcon>();
  ByteCursor cursor(directory);
  const auto rawHeader = cursor.TakeRecord<kIconHeaderSize>();
  if (!rawHeader) return icon;
  const IconHeader header = IconHeader::Parse(*rawHeader);
  if (!header.IsIcon()) return icon;
  // A directory shorter than its image count needs is refused as a whole: the entries it lacks
  // are neither read past its end nor made up.
  if (std::uint64_t{kGroupEntrySize} * header.Count > cursor.Remaining()) {
    throw IconLibraryError("Icon group directory shorter than its image count");
  }
  icon->Images.SetCapacity(header.Count);
  for (int i = 0; i < header.Count; ++i) {
    const GroupIconEntry entry = GroupIconEntry::Parse(*cursor.TakeRecord<kGroupEntrySize>());
    const std::size_t index = table.FindEntry(entry.Id);
    icon->Images.Add(std::make_unique<NeIconImage>(
        entry.Fields, blocks.Image(index, table.IconEntries[index], entry.BytesInRes())));
  }
  return icon;
}

std::vector<IconEntry> BuildICL16Icons(const NeResourceTable& table, NeBlocks& blocks,
                                       const std::string& baseName, const ProgressCallback& progress,
                                       MissingImage missing) {
  const std::size_t groupCount = table.GroupEntries.size();
  const bool namesMatch = table.Names.size() == groupCount;
  std::vector<IconEntry> icons;
  icons.reserve(groupCount);
  for (std::size_t i = 0; i < groupCount; ++i) {
    const std::vector<std::uint8_t> directory = blocks.Group(table.GroupEntries[i]);
    std::unique_ptr<NeIcon> icon;
    try {
      icon = BuildICL16Icon(directory, table, blocks);
    } catch (const IconImageMissing&) {
      if (missing == MissingImage::FailTheRead) throw;
    }
    if (icon) {
      icon->Name = NumberedName(baseName, i + 1);
      std::string name = namesMatch ? Windows1252ToUtf8(table.Names[i]) : icon->Name;
      icons.push_back(IconEntry{std::move(name), std::move(icon)});
    }
    if (progress) {
      progress(static_cast<std::int32_t>(groupCount), static_cast<std::int32_t>(i + 1));
    }
  }
  return icons;
}

}  // namespace pictarix
