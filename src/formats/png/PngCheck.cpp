#include "formats/png/PngCheck.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "formats/dib/DibDecoder.h"
#include "formats/png/Deflate.h"
#include "formats/png/PngDecoder.h"
#include "os/BigEndian.h"
#include "os/ByteCursor.h"

namespace pictarix {

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kHeaderSize = 13;
constexpr std::size_t kMostPaletteBytes = 256 * 3;
constexpr std::uint8_t kLastFilter = 4;  // Paeth
constexpr std::uint8_t kPaletteColour = 3;
constexpr std::size_t kRowsKept = 4u << 20;

using ChunkType = std::array<std::uint8_t, 4>;
constexpr ChunkType kHeader{'I', 'H', 'D', 'R'};
constexpr ChunkType kPalette{'P', 'L', 'T', 'E'};
constexpr ChunkType kImageData{'I', 'D', 'A', 'T'};
constexpr ChunkType kEnd{'I', 'E', 'N', 'D'};

std::optional<std::uint32_t> ReadBigEndian32(ByteCursor& cursor) {
  const auto bytes = cursor.TakeRecord<4>();
  if (!bytes) return std::nullopt;
  return LoadBe32(*bytes);
}

struct Chunk {
  ChunkType Type{};
  std::span<const std::uint8_t> Data;
};

// The next chunk, or nothing when it is cut short, its length is out of range, its type is not
// four letters or its CRC does not match.
std::optional<Chunk> ReadChunk(ByteCursor& cursor) {
  const auto length = ReadBigEndian32(cursor);
  if (!length || *length > 0x7FFFFFFFu) return std::nullopt;
  const auto typeAndData = cursor.Take(std::uint64_t{*length} + 4);
  const auto crc = ReadBigEndian32(cursor);
  if (!typeAndData || !crc ||
      libdeflate_crc32(0, typeAndData->data(), typeAndData->size()) != *crc) {
    return std::nullopt;
  }
  Chunk chunk;
  std::copy_n(typeAndData->begin(), 4, chunk.Type.begin());
  const auto isLetter = [](std::uint8_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
  if (!std::all_of(chunk.Type.begin(), chunk.Type.end(), isLetter)) return std::nullopt;
  chunk.Data = typeAndData->subspan(4);
  return chunk;
}

struct Header {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 0;
  std::uint8_t Colour = 0;
  bool Interlaced = false;
};

// Samples a pixel, by colour type; 0 for a type with no such bit depth.
int SamplesOf(const Header& header) {
  const int depth = header.BitDepth;
  const bool eightOrSixteen = depth == 8 || depth == 16;
  switch (header.Colour) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || eightOrSixteen ? 1 : 0;
    case 2:
      return eightOrSixteen ? 3 : 0;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case 4:
      return eightOrSixteen ? 2 : 0;
    case 6:
      return eightOrSixteen ? 4 : 0;
    default:
      return 0;
  }
}

std::optional<Header> ReadHeader(std::span<const std::uint8_t> data) {
  if (data.size() != kHeaderSize) return std::nullopt;
  ByteCursor cursor(data);
  Header header;
  header.Width = ReadBigEndian32(cursor).value_or(0);
  header.Height = ReadBigEndian32(cursor).value_or(0);
  const auto [depth, colour, compression, filter, interlace] = cursor.TakeZeroFilled<5>();
  header.BitDepth = depth;
  header.Colour = colour;
  if (header.Width == 0 || header.Height == 0 || header.Width > kMaxIconSide ||
      header.Height > kMaxIconSide || SamplesOf(header) == 0 || compression != 0 || filter != 0 ||
      interlace > 1) {
    return std::nullopt;
  }
  header.Interlaced = interlace == 1;
  return header;
}

// A run of rows of the inflated image: `Rows` rows of `RowBytes` bytes after the filter byte.
struct RowRun {
  std::uint64_t Rows = 0;
  std::uint64_t RowBytes = 0;
};

// The rows the image data holds: one run, or one for each non-empty pass of an interlaced image.
std::vector<RowRun> RowRuns(const Header& header) {
  const std::uint64_t bitsPerPixel = std::uint64_t{header.BitDepth} * SamplesOf(header);
  const auto rowBytes = [&](std::uint64_t width) { return (width * bitsPerPixel + 7) / 8; };
  if (!header.Interlaced) return {{header.Height, rowBytes(header.Width)}};
  // Each pass: its first column and row, and the steps between its columns and rows.
  static constexpr std::array<std::array<std::uint32_t, 4>, 7> kPasses{{{0, 0, 8, 8},
                                                                        {4, 0, 8, 8},
                                                                        {0, 4, 4, 8},
                                                                        {2, 0, 4, 4},
                                                                        {0, 2, 2, 4},
                                                                        {1, 0, 2, 2},
                                                                        {0, 1, 1, 2}}};
  std::vector<RowRun> runs;
  for (const auto& [x, y, dx, dy] : kPasses) {
    if (header.Width <= x || header.Height <= y) continue;
    runs.push_back({(header.Height - y + dy - 1) / dy, rowBytes((header.Width - x + dx - 1) / dx)});
  }
  return runs;
}

std::uint64_t InflatedSize(const std::vector<RowRun>& runs) {
  std::uint64_t size = 0;
  for (const RowRun& run : runs) size += run.Rows * (run.RowBytes + 1);
  return size;
}

// True when `compressed` inflates to exactly the rows of `runs`, each with a known filter.
bool InflatesToRows(std::span<const std::uint8_t> compressed, const std::vector<RowRun>& runs) {
  const std::uint64_t expected = InflatedSize(runs);
  // The stream's header names the window it may refer back into. zlib refuses a reference
  // beyond a window smaller than the largest; this decompressor does not look, so a smaller
  // window is trusted only where the whole image fits in it.
  const auto method = ByteCursor(compressed).U8At(0);
  if (!method || ((*method >> 4) < 7 && expected > (std::uint64_t{1} << ((*method >> 4) + 8))))
    return false;
  libdeflate_decompressor* decompressor = ThreadDecompressor();
  if (decompressor == nullptr) return false;
  // The rows of most images are a few hundred kilobytes; this thread keeps them for the next.
  thread_local std::vector<std::uint8_t> rows;
  rows.resize(static_cast<std::size_t>(expected));
  std::size_t used = 0;
  bool sound =
      libdeflate_zlib_decompress_ex(decompressor, compressed.data(), compressed.size(), rows.data(),
                                    rows.size(), &used, nullptr) == LIBDEFLATE_SUCCESS &&
      used == compressed.size();
  std::size_t at = 0;
  for (const RowRun& run : runs) {
    for (std::uint64_t row = 0; sound && row < run.Rows; ++row) {
      sound = rows[at] <= kLastFilter;
      at += static_cast<std::size_t>(run.RowBytes) + 1;
    }
  }
  if (rows.capacity() > kRowsKept) std::vector<std::uint8_t>().swap(rows);
  return sound;
}

}  // namespace

bool IsSoundPng(std::span<const std::uint8_t> data) {
  if (!IsPngImage(data)) return false;
  ByteCursor cursor(data);
  cursor.Skip(kSignatureSize);
  const auto first = ReadChunk(cursor);
  const auto header = first && first->Type == kHeader ? ReadHeader(first->Data) : std::nullopt;
  if (!header) return false;

  bool palette = false;
  int imageRuns = 0;  // runs of image data chunks met; the image data must be one
  bool inImageData = false;
  std::span<const std::uint8_t> imageData;
  std::vector<std::uint8_t> joined;  // the image data when it comes in several chunks
  for (;;) {
    const auto chunk = ReadChunk(cursor);
    if (!chunk) return false;
    if (chunk->Type == kImageData) {
      if (!inImageData && ++imageRuns > 1) return false;
      if (inImageData) {
        if (joined.empty()) joined.assign(imageData.begin(), imageData.end());
        joined.insert(joined.end(), chunk->Data.begin(), chunk->Data.end());
        imageData = joined;
      } else {
        imageData = chunk->Data;
      }
      inImageData = true;
      continue;
    }
    inImageData = false;
    if (chunk->Type == kEnd) break;
    if (chunk->Type == kPalette) {
      const bool allowed =
          header->Colour == 2 || header->Colour == kPaletteColour || header->Colour == 6;
      if (palette || imageRuns > 0 || !allowed || chunk->Data.empty() ||
          chunk->Data.size() % 3 != 0 || chunk->Data.size() > kMostPaletteBytes) {
        return false;
      }
      palette = true;
    } else if ((chunk->Type[0] & 0x20) == 0) {
      return false;  // a second header, or a critical chunk nobody knows
    } else if (imageRuns == 0 && chunk->Data.size() > kMaxPngChunkBytes) {
      return false;
    }
  }
  if (imageRuns == 0 || (header->Colour == kPaletteColour && !palette)) return false;

  const std::vector<RowRun> runs = RowRuns(*header);
  if (InflatedSize(runs) > kMaxPngInflateRatio * data.size()) return false;
  return InflatesToRows(imageData, runs);
}

}  // namespace pictarix
