#pragma once
// Icons, icon files and icon libraries for harvest and command-line tests.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "harvest/ListEntry.h"
#include "harvest/TileList.h"
#include "model/AdvancedIcon.h"

namespace pictarix::testing {

// One image of the given size and depth with real pixels (a red square on a transparent
// background), as an icon file stores it.
std::vector<std::uint8_t> SquareImage(int size, int bitCount);

// An icon with one image per (size, bit count) pair, in the given order.
std::unique_ptr<AdvancedIcon> MakeIcon(const std::vector<std::pair<int, int>>& sizesAndBits);

// Writes an icon file holding those images.
void WriteIconFile(const std::filesystem::path& path,
                   const std::vector<std::pair<int, int>>& sizesAndBits);

// Writes an icon library (a 16-bit NE module) with one named icon per element.
void WriteIconLibrary(
    const std::filesystem::path& path,
    const std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>>& icons);

// Appends an entry with `caption` as its caption and sub-item text, the icon, the tile at
// `imageIndex` in the tiles (-1: none) and the icon's image `tileImage` it shows; answers the
// entry's index.
int AppendEntry(std::vector<ListEntry>& entries, const std::string& caption,
                std::unique_ptr<AdvancedIcon> icon, int imageIndex, int tileImage = -1);

// Appends an entry as the harvest makes it: the icon's 32x32 image, chosen as the harvest
// chooses it (which sorts the images), becomes its tile in `tiles`. Without such an image, or
// with `withTile` false, the entry has no tile. Answers the entry's index.
int AppendHarvestedEntry(std::vector<ListEntry>& entries, TileList& tiles,
                         const std::string& caption, std::unique_ptr<AdvancedIcon> icon,
                         bool withTile = true);

}  // namespace pictarix::testing
