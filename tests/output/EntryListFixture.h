#pragma once
// List entries with tiles, made as the harvest makes them, for the output command tests.
#include <memory>
#include <string>
#include <vector>

#include "formats/ico/IconFileReader.h"
#include "os/Stream.h"
#include "output/EntrySelection.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"

namespace pictarix::testing {

// An icon holding the given image blobs in that order.
inline std::unique_ptr<AdvancedIcon> IconOfImages(
    const std::vector<std::vector<std::uint8_t>>& images) {
  IconFileBuilder builder;
  for (const auto& image : images) builder.AddImage(image);
  MemoryStream stream(builder.Build());
  auto icon = std::make_unique<AdvancedIcon>();
  ReadIconFile(stream, *icon);
  return icon;
}

class EntryListFixture {
 public:
  // Appends an entry for `icon` and answers its index. Its tile is its 32x32 image, as the
  // harvest chooses it (which sorts the images); `withTile` false leaves the entry without one.
  int Add(std::unique_ptr<AdvancedIcon> icon, bool withTile = true) {
    return AppendHarvestedEntry(Entries, LargeImgs, "icon " + std::to_string(Entries.size()),
                                std::move(icon), withTile);
  }

  const ListEntry& Entry(int index) const { return Entries.at(static_cast<std::size_t>(index)); }
  EntrySelection Select(const std::vector<int>& positions) const {
    return SelectEntries(Entries, positions);
  }

  std::vector<ListEntry> Entries;
  TileList LargeImgs;
};

}  // namespace pictarix::testing
