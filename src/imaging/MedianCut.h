#pragma once
// Median cut: a palette of representative colours for a picture with too many colours.
#include <cstdint>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix {

struct ColorFrequency {
  RgbColor Color;
  std::uint32_t Count = 0;  // pixels of this colour
};

// At most `maxColors` colours for the distinct colours in `histogram`. The colour box with the
// largest squared error is split at the pixel-weighted median of its widest-spread channel until
// there are `maxColors` boxes or no box has two colours; each box gives its pixel-weighted mean.
std::vector<RgbColor> MedianCutPalette(std::vector<ColorFrequency> histogram, int maxColors);

}  // namespace pictarix
