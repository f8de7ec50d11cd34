#pragma once
// One entry of the icon list: what the window's list view shows and the output commands read.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "harvest/TileList.h"
#include "model/AdvancedIcon.h"

namespace pictarix {

struct ListEntry {
  std::string Caption;                 // the icon's name (UTF-8)
  std::unique_ptr<AdvancedIcon> Icon;  // the entry's own copy, images sorted once when made
  int ImageIndex = -1;                 // position of the entry's tile in LargeImgs (-1: no tile)
  int TileImage = -1;                  // index into Icon->Images of the tile's image (-1: none)
  std::filesystem::path File;          // the harvested path the icon came from
};

// An entry as the harvest makes it, the one way entries are made: with `tiles`, the image
// `tileImage` goes into it first, so an image the list refuses makes no entry; without, the
// entry has no tile (a listing). Nothing when `tileImage` names no image of the icon.
std::optional<ListEntry> MakeListEntry(std::string caption, std::unique_ptr<AdvancedIcon> icon,
                                       int tileImage, TileList* tiles,
                                       std::filesystem::path file = {});

}  // namespace pictarix
