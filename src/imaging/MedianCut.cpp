#include "imaging/MedianCut.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <tuple>

namespace pictarix {

namespace {

int Channel(const RgbColor& color, int axis) {
  return axis == 0 ? color.R : axis == 1 ? color.G : color.B;
}

struct ColorBox {
  std::size_t Begin = 0;  // range in the histogram
  std::size_t End = 0;
  std::array<double, 3> Mean{};
  double Error = 0;  // pixel-weighted squared distance of its colours from the mean
  int Axis = 0;      // the channel with the largest spread
};

ColorBox MakeBox(const std::vector<ColorFrequency>& histogram, std::size_t begin, std::size_t end) {
  ColorBox box;
  box.Begin = begin;
  box.End = end;
  double total = 0;
  std::array<double, 3> sum{}, sumSquares{};
  for (std::size_t i = begin; i < end; ++i) {
    const double count = histogram[i].Count;
    total += count;
    for (int axis = 0; axis < 3; ++axis) {
      const double value = Channel(histogram[i].Color, axis);
      sum[axis] += count * value;
      sumSquares[axis] += count * value * value;
    }
  }
  if (total <= 0) return box;
  double widest = -1;
  for (int axis = 0; axis < 3; ++axis) {
    box.Mean[axis] = sum[axis] / total;
    const double spread = std::max(0.0, sumSquares[axis] - sum[axis] * box.Mean[axis]);
    box.Error += spread;
    if (spread > widest) {
      widest = spread;
      box.Axis = axis;
    }
  }
  return box;
}

// The first index of the upper half: both halves keep at least one colour.
std::size_t MedianSplit(std::vector<ColorFrequency>& histogram, const ColorBox& box) {
  const int axis = box.Axis;
  std::sort(histogram.begin() + static_cast<std::ptrdiff_t>(box.Begin),
            histogram.begin() + static_cast<std::ptrdiff_t>(box.End),
            [axis](const ColorFrequency& a, const ColorFrequency& b) {
              return Channel(a.Color, axis) < Channel(b.Color, axis);
            });
  std::uint64_t total = 0;
  for (std::size_t i = box.Begin; i < box.End; ++i) total += histogram[i].Count;
  std::uint64_t below = 0;
  std::size_t split = box.Begin + 1;
  for (std::size_t i = box.Begin; i + 1 < box.End; ++i) {
    below += histogram[i].Count;
    split = i + 1;
    if (below * 2 >= total) break;
  }
  return split;
}

}  // namespace

std::vector<RgbColor> MedianCutPalette(std::vector<ColorFrequency> histogram, int maxColors) {
  std::vector<RgbColor> palette;
  if (histogram.empty() || maxColors <= 0) return palette;
  // A stable start makes the palette depend on the colours only, not on their order.
  std::sort(histogram.begin(), histogram.end(),
            [](const ColorFrequency& a, const ColorFrequency& b) {
              return std::tie(a.Color.R, a.Color.G, a.Color.B) <
                     std::tie(b.Color.R, b.Color.G, b.Color.B);
            });

  std::vector<ColorBox> boxes{MakeBox(histogram, 0, histogram.size())};
  while (boxes.size() < static_cast<std::size_t>(maxColors)) {
    auto worst = boxes.end();
    for (auto box = boxes.begin(); box != boxes.end(); ++box) {
      if (box->End - box->Begin < 2 || box->Error <= 0) continue;
      if (worst == boxes.end() || box->Error > worst->Error) worst = box;
    }
    if (worst == boxes.end()) break;
    const ColorBox whole = *worst;
    const std::size_t split = MedianSplit(histogram, whole);
    *worst = MakeBox(histogram, whole.Begin, split);
    boxes.push_back(MakeBox(histogram, split, whole.End));
  }

  palette.reserve(boxes.size());
  for (const ColorBox& box : boxes) {
    auto round = [](double value) {
      return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
    };
    palette.push_back({round(box.Mean[0]), round(box.Mean[1]), round(box.Mean[2])});
  }
  return palette;
}

}  // namespace pictarix
