#pragma once
// Builds real icon image blobs from pixels, as an icon file or icon resource stores them: a
// device-independent bitmap (header, colour table, bottom-up colour bits and the AND mask) at
// any depth the platform reads, or a PNG stream. Free of gtest, so fuzz seeds can use it too.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/IconDraw.h"

namespace pictarix::testing {

// A colour as 0xRRGGBBAA, the form every pixel and palette entry takes here.
constexpr std::uint32_t Rgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
  return (std::uint32_t{r} << 24) | (std::uint32_t{g} << 16) | (std::uint32_t{b} << 8) | a;
}

struct DibLayout {
  int Width = 0;
  int Height = 0;     // of the picture; the header stores twice this (colour bits and mask)
  int BitCount = 32;  // 1, 4, 8, 16, 24 or 32
  // Colour table for 1, 4 and 8 bpp (alpha not stored). Written as given, so it may be shorter
  // than the full table.
  std::vector<std::uint32_t> Palette{};
  // The header's colour count; by default 0 when the palette is full, else its length.
  std::optional<std::uint32_t> ColorsUsed{};
  // Top row first, Width * Height values: palette indexes at 1, 4 and 8 bpp, colours otherwise.
  // At 16 bpp colours keep the top bits of each channel that the masks hold; at 32 bpp the
  // alpha is stored too.
  std::vector<std::uint32_t> Pixels{};
  // Top row first, 1 = transparent; empty means all opaque.
  std::vector<std::uint8_t> Mask{};
  bool WriteMask = true;  // false leaves the AND mask out
  // Red, green and blue masks written with BI_BITFIELDS (16 and 32 bpp); without them 16 bpp
  // is 5-5-5 and 32 bpp is BGRA.
  std::optional<std::array<std::uint32_t, 3>> Bitfields{};
  // 12 writes the old core header (1, 4, 8 and 24 bpp; 3-byte palette entries); 40 the info
  // header; larger sizes pad the info header with zeros and carry the bit-field masks inside.
  std::uint32_t HeaderSize = 40;
  bool TopDown = false;  // stores a negative height
};

// The bitmap blob; throws std::invalid_argument for a layout that cannot be written.
std::vector<std::uint8_t> BuildDib(const DibLayout& layout);

// Bytes of one colour-bits row and one mask row, padded to 4 bytes as stored.
std::size_t DibRowBytes(int width, int bitCount);

enum class PngColour { Rgba, Rgb, Grey, GreyAlpha, Palette };

struct PngLayout {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels{};  // top row first, 0xRRGGBBAA
  // How the pixels are stored: Grey takes the red channel; Palette collects the distinct
  // colours (at most 256) with their alpha in a tRNS chunk; Rgb and Grey drop the alpha.
  PngColour Colour = PngColour::Rgba;
  int BitDepth = 8;  // 16 for every type; 1, 2, 4 for Grey and Palette
  bool Interlaced = false;
};

// The PNG stream written by libpng; throws std::invalid_argument or std::runtime_error.
std::vector<std::uint8_t> BuildPng(const PngLayout& layout);
std::vector<std::uint8_t> BuildPng(int width, int height, const std::vector<std::uint32_t>& rgba);

// A PNG stream as its chunks (type and data) after the signature, for damaging one on purpose,
// and back again with each chunk's length and CRC computed.
struct PngChunk {
  std::string Type;
  std::vector<std::uint8_t> Data;
};
std::vector<PngChunk> SplitPng(const std::vector<std::uint8_t>& png);
std::vector<std::uint8_t> JoinPng(const std::vector<PngChunk>& chunks);

// Reading decoded pixels back as 0xRRGGBBAA (bounds-checked: out-of-range throws).
std::uint32_t PixelOf(const IconPicture& picture, int x, int y);
std::vector<std::uint32_t> PixelsOf(const IconPicture& picture);  // top row first
std::uint32_t PixelOf(const RgbaCanvas& canvas, int x, int y);

}  // namespace pictarix::testing
