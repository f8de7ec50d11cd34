#pragma once
// Icons, icon files and icon libraries for harvest and command-line tests.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"

namespace pictarix::testing {

// One image of the given size and depth with real pixels (a red square on a transparent
// background), as an icon file stores it.
std::vector<std::uint8_t> SquareImage(int size, int bitCount);

// An icon with one image per (size, bit count) pair, in the given order.
std::unique_ptr<TAdvancedIcon> MakeIcon(const std::vector<std::pair<int, int>>& sizesAndBits);

// Writes an icon file holding those images.
void WriteIconFile(const std::filesystem::path& path,
                   const std::vector<std::pair<int, int>>& sizesAndBits);

// Writes an icon library (a 16-bit NE module) with one named icon per element.
void WriteIconLibrary(
    const std::filesystem::path& path,
    const std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>>& icons);

}  // namespace pictarix::testing
