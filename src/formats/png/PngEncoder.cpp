#include "formats/png/PngEncoder.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "formats/png/Deflate.h"
#include "os/BigEndian.h"
#include "os/PictureError.h"

namespace pictarix {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kNoFilter = 0;
constexpr std::uint8_t kRgbColour = 2;
constexpr std::uint8_t kRgbaColour = 6;
// Sides a PNG header can state.
constexpr std::int64_t kMostSide = 0x7FFFFFFF;

// Appends the chunk's length, type and data; its CRC follows once the data is in place.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, std::string_view type,
                       std::uint32_t length) {
  AppendBe32(out, length);
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  return typeAt;
}

void EndChunk(std::vector<std::uint8_t>& out, std::size_t typeAt) {
  AppendBe32(out, libdeflate_crc32(0, out.data() + typeAt, out.size() - typeAt));
}

[[noreturn]] void Refuse(const std::string& why) {
  throw PictureError("Cannot write a PNG picture: " + why);
}

}  // namespace

std::vector<std::uint8_t> EncodePngPixels(int width, int height, int channels,
                                          std::span<const std::uint8_t> pixels) {
  if (width <= 0 || height <= 0 || width > kMostSide || height > kMostSide ||
      (channels != 3 && channels != 4) ||
      pixels.size() != static_cast<std::size_t>(width) * height * channels) {
    throw PictureError("Cannot write a PNG picture of this size");
  }
  libdeflate_compressor* compressor = ThreadCompressor();
  if (compressor == nullptr) Refuse("there is not enough memory");

  // Each row after its filter byte; no filter: icon pictures are small and speed matters more
  // than the last few bytes.
  const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
  std::vector<std::uint8_t> rows;
  rows.reserve((rowBytes + 1) * height);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    rows.push_back(kNoFilter);
    const auto row = pixels.subspan(y * rowBytes, rowBytes);
    rows.insert(rows.end(), row.begin(), row.end());
  }

  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  const std::size_t bound = libdeflate_zlib_compress_bound(compressor, rows.size());
  out.reserve(out.size() + 25 + 12 + bound + 12);

  const std::size_t header = BeginChunk(out, "IHDR", 13);
  AppendBe32(out, static_cast<std::uint32_t>(width));
  AppendBe32(out, static_cast<std::uint32_t>(height));
  out.insert(out.end(), {8, channels == 4 ? kRgbaColour : kRgbColour, 0, 0, 0});
  EndChunk(out, header);

  const std::size_t data = BeginChunk(out, "IDAT", 0);
  const std::size_t dataAt = out.size();
  out.resize(dataAt + bound);
  const std::size_t compressed =
      libdeflate_zlib_compress(compressor, rows.data(), rows.size(), out.data() + dataAt, bound);
  if (compressed == 0 || compressed > kMostSide) Refuse("the picture does not compress");
  out.resize(dataAt + compressed);
  const auto length = Be32Bytes(static_cast<std::uint32_t>(compressed));
  std::copy(length.begin(), length.end(), out.begin() + static_cast<std::ptrdiff_t>(data - 4));
  EndChunk(out, data);

  EndChunk(out, BeginChunk(out, "IEND", 0));
  return out;
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image) {
  if (!IsEncodable(image)) throw PictureError("Cannot write a PNG picture of this size");
  return EncodePngPixels(image.Width, image.Height, 3, image.Rgb);
}

}  // namespace pictarix
