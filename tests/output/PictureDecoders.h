#pragma once
// Reading back the pictures the encoders wrote, with the same libraries, for the tests.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/RgbImage.h"

namespace pictarix::testing {

struct DecodedPng {
  RgbImage Image;
  int BitDepth = 0;
  int ColorType = 0;
  std::vector<std::string> Chunks;  // chunk types in file order
};
// nullopt when the bytes are not a readable PNG.
std::optional<DecodedPng> DecodePng(const std::vector<std::uint8_t>& bytes);

struct DecodedJpeg {
  RgbImage Image;
  int Components = 0;
  bool YCbCr = false;
  bool Progressive = false;
  int FrameMarker = 0;             // 0xC0 for baseline
  bool AllQuantValuesOne = false;  // what quality 100 gives
};
std::optional<DecodedJpeg> DecodeJpeg(const std::vector<std::uint8_t>& bytes);

struct DecodedGif {
  RgbImage Image;
  std::string Version;  // "GIF87a" or "GIF89a"
  int ImageCount = 0;
  int ColorTableSize = 0;   // entries in the global colour table
  int ExtensionBlocks = 0;  // in the file and in its images (a transparent colour needs one)
  bool LocalColorTable = false;
  std::vector<RgbColor> Palette;
};
std::optional<DecodedGif> DecodeGif(const std::vector<std::uint8_t>& bytes);

// Mean absolute difference per channel value.
double MeanAbsoluteError(const RgbImage& a, const RgbImage& b);
// Largest absolute difference of any channel value.
int MaxAbsoluteError(const RgbImage& a, const RgbImage& b);

}  // namespace pictarix::testing
