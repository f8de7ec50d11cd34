#include "imaging/ColorQuantizer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <unordered_map>
#include <utility>

#include "imaging/MedianCut.h"

namespace pictarix {

namespace {

std::uint32_t Key(const RgbColor& color) {
  return (std::uint32_t{color.R} << 16) | (std::uint32_t{color.G} << 8) | color.B;
}

RgbColor FromKey(std::uint32_t key) {
  return {static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
          static_cast<std::uint8_t>(key)};
}

// Distinct colours in ascending key order, with their pixel counts.
std::vector<ColorFrequency> Histogram(const RgbImage& image) {
  std::vector<std::uint32_t> keys;
  keys.reserve(image.Rgb.size() / 3);
  for (std::size_t at = 0; at + 2 < image.Rgb.size(); at += 3) {
    keys.push_back(Key({image.Rgb[at], image.Rgb[at + 1], image.Rgb[at + 2]}));
  }
  std::sort(keys.begin(), keys.end());
  std::vector<ColorFrequency> histogram;
  for (std::size_t i = 0; i < keys.size();) {
    std::size_t next = i + 1;
    while (next < keys.size() && keys[next] == keys[i]) ++next;
    histogram.push_back({FromKey(keys[i]), static_cast<std::uint32_t>(next - i)});
    i = next;
  }
  return histogram;
}

IndexedImage WithExactColors(const RgbImage& image, const std::vector<ColorFrequency>& histogram) {
  IndexedImage indexed{image.Width, image.Height, {}, {}};
  std::vector<std::uint32_t> keys;
  for (const ColorFrequency& entry : histogram) {
    indexed.Palette.push_back(entry.Color);
    keys.push_back(Key(entry.Color));
  }
  indexed.Indices.reserve(image.Rgb.size() / 3);
  for (std::size_t at = 0; at + 2 < image.Rgb.size(); at += 3) {
    const std::uint32_t key = Key({image.Rgb[at], image.Rgb[at + 1], image.Rgb[at + 2]});
    const auto found = std::lower_bound(keys.begin(), keys.end(), key);
    indexed.Indices.push_back(static_cast<std::uint8_t>(found - keys.begin()));
  }
  return indexed;
}

// The palette entry closest to a colour (squared RGB distance; the lower index on a tie).
// Entries are searched outward from the closest red value, stopping once the red difference
// alone exceeds the best distance, so a typical look-up checks a few dozen entries, not 256.
class NearestColor {
 public:
  explicit NearestColor(const std::vector<RgbColor>& palette) : palette_(palette) {
    for (std::size_t i = 0; i < palette.size(); ++i) byRed_.push_back(static_cast<int>(i));
    std::stable_sort(byRed_.begin(), byRed_.end(),
                     [&palette](int a, int b) { return palette[a].R < palette[b].R; });
  }

  std::uint8_t operator()(const RgbColor& color) {
    const std::uint32_t key = Key(color);
    if (const auto known = cache_.find(key); known != cache_.end()) return known->second;
    const auto start =
        std::lower_bound(byRed_.begin(), byRed_.end(), int{color.R},
                         [this](int entry, int red) { return palette_[entry].R < red; });
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    auto consider = [&](int entry) {
      const int dr = int{color.R} - palette_[entry].R;
      if (dr * dr > bestDistance) return false;  // every entry further out is further still
      const int dg = int{color.G} - palette_[entry].G;
      const int db = int{color.B} - palette_[entry].B;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance || (distance == bestDistance && entry < best)) {
        bestDistance = distance;
        best = entry;
      }
      return true;
    };
    for (auto up = start; up != byRed_.end() && consider(*up); ++up) {
    }
    for (auto down = start; down != byRed_.begin() && consider(*(down - 1)); --down) {
    }
    const auto index = static_cast<std::uint8_t>(best);
    cache_.emplace(key, index);
    return index;
  }

 private:
  const std::vector<RgbColor>& palette_;
  std::vector<int> byRed_;  // palette indexes in ascending red
  std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

// Floyd-Steinberg: 7/16 of a pixel's error goes ahead, 3/16, 5/16 and 1/16 to the row below
// (behind, under, ahead). Rows alternate direction so the error does not drift one way.
void Dither(const RgbImage& image, IndexedImage& indexed) {
  NearestColor nearest(indexed.Palette);
  const std::size_t width = static_cast<std::size_t>(image.Width);
  // Errors in sixteenths, one spare column either side so neighbours never need a bounds test.
  using Errors = std::vector<std::array<int, 3>>;
  Errors current(width + 2), below(width + 2);
  indexed.Indices.assign(width * static_cast<std::size_t>(image.Height), 0);
  for (int y = 0; y < image.Height; ++y) {
    const bool leftToRight = y % 2 == 0;
    std::fill(below.begin(), below.end(), std::array<int, 3>{});
    for (int i = 0; i < image.Width; ++i) {
      const int x = leftToRight ? i : image.Width - 1 - i;
      const std::size_t column = static_cast<std::size_t>(x) + 1;
      const std::size_t at = image.PixelOffset(x, y);
      std::array<int, 3> wanted{};
      for (int c = 0; c < 3; ++c) {
        const int error = current[column][c];
        const int carried = (error >= 0 ? error + 8 : error - 8) / 16;
        wanted[c] = std::clamp(image.Rgb[at + c] + carried, 0, 255);
      }
      const std::uint8_t index =
          nearest({static_cast<std::uint8_t>(wanted[0]), static_cast<std::uint8_t>(wanted[1]),
                   static_cast<std::uint8_t>(wanted[2])});
      indexed.Indices[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = index;
      const RgbColor& chosen = indexed.Palette[index];
      const std::array<int, 3> got{chosen.R, chosen.G, chosen.B};
      const std::size_t ahead = leftToRight ? column + 1 : column - 1;
      const std::size_t behind = leftToRight ? column - 1 : column + 1;
      for (int c = 0; c < 3; ++c) {
        const int error = wanted[c] - got[c];
        current[ahead][c] += error * 7;
        below[behind][c] += error * 3;
        below[column][c] += error * 5;
        below[ahead][c] += error * 1;
      }
    }
    std::swap(current, below);
  }
}

}  // namespace

IndexedImage QuantizeColors(const RgbImage& image, int maxColors) {
  maxColors = std::clamp(maxColors, 1, kMaxPaletteColors);
  std::vector<ColorFrequency> histogram = Histogram(image);
  if (histogram.size() <= static_cast<std::size_t>(maxColors)) {
    return WithExactColors(image, histogram);
  }
  IndexedImage indexed{
      image.Width, image.Height, MedianCutPalette(std::move(histogram), maxColors), {}};
  Dither(image, indexed);
  return indexed;
}

}  // namespace pictarix
