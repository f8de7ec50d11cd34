#pragma once
// List entries with tiles, made as the harvest makes them, for the output command tests.
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "harvest/BestImageIndex.h"
#include "output/EntryList.h"
#include "platform/Stream.h"
#include "support/IconFileBuilder.h"

namespace pictarix::testing {

// An icon holding the given image blobs in that order.
inline std::unique_ptr<TAdvancedIcon> IconOfImages(
    const std::vector<std::vector<std::uint8_t>>& images) {
  IconFileBuilder builder;
  for (const auto& image : images) builder.AddImage(image);
  TMemoryStream stream(builder.Build());
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromStream(stream);
  return icon;
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EntryListFixture {
 public:
  // Appends an entry for `icon` and answers its index. Its tile is its 32x32 image, as the
  // harvest chooses it (which sorts the images); `withTile` false leaves the entry without one.
  int Add(std::unique_ptr<TAdvancedIcon> icon, bool withTile = true) {
    TListEntry entry;
    entry.Caption = "icon " + std::to_string(Entries.size());
    entry.TileImage = BestImageIndex(*icon, 32, 0);
    if (withTile && entry.TileImage >= 0) {
      auto graphic = icon->Images.Get(entry.TileImage)->CreateGraphic();
      entry.ImageIndex = LargeImgs.Add(*graphic);
    }
    entry.Icon = std::move(icon);
    Entries.push_back(std::move(entry));
    return static_cast<int>(Entries.size()) - 1;
  }

  TEntryList& List() { return list_; }

  std::vector<TListEntry> Entries;
  TTileList LargeImgs;

 private:
  TEntryList list_{Entries, LargeImgs};
};

}  // namespace pictarix::testing
