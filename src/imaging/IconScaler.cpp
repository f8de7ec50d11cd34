#include "imaging/IconScaler.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace pictarix {
namespace {

// The source pixels one destination pixel covers along one axis, with their overlaps. Both
// sides are measured in units of 1/(source * destination) pixel, so overlaps are exact integers
// and every destination pixel's weights add up to the source length.
struct AxisTaps {
  std::vector<int> First;     // first source pixel of each destination pixel
  std::vector<int> Count;     // how many source pixels it covers
  std::vector<int> WeightAt;  // where its weights start in Weights
  std::vector<std::uint32_t> Weights;
};

AxisTaps MakeTaps(int source, int destination) {
  AxisTaps taps;
  taps.First.resize(destination);
  taps.Count.resize(destination);
  taps.WeightAt.resize(destination);
  for (int d = 0; d < destination; ++d) {
    // Destination pixel d spans [d * source, (d + 1) * source); source pixel s spans
    // [s * destination, (s + 1) * destination).
    const std::int64_t begin = std::int64_t{d} * source;
    const std::int64_t end = begin + source;
    const int first = static_cast<int>(begin / destination);
    const int last = static_cast<int>((end - 1) / destination);
    taps.First[d] = first;
    taps.Count[d] = last - first + 1;
    taps.WeightAt[d] = static_cast<int>(taps.Weights.size());
    for (int s = first; s <= last; ++s) {
      const std::int64_t from = std::max<std::int64_t>(begin, std::int64_t{s} * destination);
      const std::int64_t to = std::min<std::int64_t>(end, std::int64_t{s + 1} * destination);
      taps.Weights.push_back(static_cast<std::uint32_t>(to - from));
    }
  }
  return taps;
}

std::uint8_t RoundedQuotient(std::uint64_t numerator, std::uint64_t denominator) {
  if (denominator == 0) return 0;
  return static_cast<std::uint8_t>(
      std::min<std::uint64_t>(255, (numerator + denominator / 2) / denominator));
}

// Sums over the source area of one destination pixel.
struct AreaSums {
  std::uint64_t Alpha = 0;
  std::array<std::uint64_t, 3> Premultiplied{};  // colour weighted by area and alpha
  std::uint64_t Masked = 0;
  std::array<std::uint64_t, 3> MaskedColour{};  // colour of masked pixels (XOR colour)
};

}  // namespace

std::shared_ptr<IconPicture> ScaleIconPicture(const IconPicture& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.Width <= 0 || source.Height <= 0) return nullptr;
  const auto sourcePixels = static_cast<std::size_t>(source.Width) * source.Height;
  if (source.Rgba.size() < sourcePixels * 4 || source.Mask.size() < sourcePixels) return nullptr;

  const AxisTaps columns = MakeTaps(source.Width, width);
  const AxisTaps rows = MakeTaps(source.Height, height);
  const std::uint64_t area = std::uint64_t{static_cast<std::uint32_t>(source.Width)} *
                             static_cast<std::uint32_t>(source.Height);

  auto picture = std::make_shared<IconPicture>();
  picture->Width = width;
  picture->Height = height;
  picture->HasAlpha = source.HasAlpha;
  picture->Monochrome = source.Monochrome;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  picture->Rgba.resize(pixels * 4);
  picture->Mask.resize(pixels);

  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      AreaSums sums;
      for (int j = 0; j < rows.Count[y]; ++j) {
        const std::uint64_t wy = rows.Weights[rows.WeightAt[y] + j];
        const std::size_t rowStart = static_cast<std::size_t>(rows.First[y] + j) * source.Width;
        for (int i = 0; i < columns.Count[x]; ++i) {
          const std::uint64_t weight = wy * columns.Weights[columns.WeightAt[x] + i];
          const std::size_t at = rowStart + columns.First[x] + i;
          const std::uint64_t alpha = source.Rgba[at * 4 + 3];
          sums.Alpha += weight * alpha;
          for (int c = 0; c < 3; ++c) {
            sums.Premultiplied[c] += weight * alpha * source.Rgba[at * 4 + c];
          }
          if (source.Mask[at]) {
            sums.Masked += weight;
            for (int c = 0; c < 3; ++c) sums.MaskedColour[c] += weight * source.Rgba[at * 4 + c];
          }
        }
      }
      const std::size_t out = static_cast<std::size_t>(y) * width + x;
      const bool masked = sums.Masked * 2 > area;
      picture->Mask[out] = masked ? 1 : 0;
      if (!source.HasAlpha && masked) {
        // Masked pixels of a picture without alpha keep their XOR colour.
        for (int c = 0; c < 3; ++c) {
          picture->Rgba[out * 4 + c] = RoundedQuotient(sums.MaskedColour[c], sums.Masked);
        }
        picture->Rgba[out * 4 + 3] = 0;
        continue;
      }
      for (int c = 0; c < 3; ++c) {
        picture->Rgba[out * 4 + c] = RoundedQuotient(sums.Premultiplied[c], sums.Alpha);
      }
      picture->Rgba[out * 4 + 3] = source.HasAlpha ? RoundedQuotient(sums.Alpha, area) : 255;
    }
  }
  return picture;
}

}  // namespace pictarix
