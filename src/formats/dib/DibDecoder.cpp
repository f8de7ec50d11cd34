#include "formats/dib/DibDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

#include "os/ByteCursor.h"
#include "os/LittleEndian.h"

namespace pictarix {
namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// Where the parts of the bitmap lie and how its pixels are coded.
struct DibLayout {
  int Width = 0;
  int Height = 0;  // of the picture: half the header's height
  int BitCount = 0;
  bool Bitfields = false;
  std::array<std::uint32_t, 3> ColourMasks{};  // red, green, blue
  std::uint32_t AlphaMask = 0;
  std::uint64_t PaletteOffset = 0;
  std::uint32_t PaletteEntries = 0;
  std::uint32_t PaletteEntrySize = 4;
  std::uint64_t BitsOffset = 0;
};

bool IsKnownBitCount(int bitCount, bool core) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32:
      return !core;
    default:
      return false;
  }
}

bool SideInRange(std::int64_t side) {
  return side >= 1 && side <= kMaxIconSide;
}

std::optional<DibLayout> ReadCoreLayout(const ByteCursor& data) {
  const auto width = data.U16At(4);
  const auto height = data.U16At(6);
  const auto bitCount = data.U16At(10);
  if (!width || !height || !bitCount) return std::nullopt;
  DibLayout layout;
  layout.Width = *width;
  layout.Height = *height / 2;
  layout.BitCount = *bitCount;
  if (!IsKnownBitCount(layout.BitCount, true)) return std::nullopt;
  layout.PaletteOffset = kCoreHeaderSize;
  layout.PaletteEntries = layout.BitCount <= 8 ? 1u << layout.BitCount : 0;
  layout.PaletteEntrySize = 3;
  return layout;
}

std::optional<DibLayout> ReadInfoLayout(const ByteCursor& data, std::uint32_t headerSize) {
  const auto width = data.U32At(4);
  const auto height = data.U32At(8);
  const auto bitCount = data.U16At(14);
  const auto compression = data.U32At(16);
  const auto coloursUsed = data.U32At(32);
  if (!width || !height || !bitCount || !compression || !coloursUsed) return std::nullopt;
  // A negative height would mean a top-down bitmap; icon images are always stored bottom-up,
  // and such a header is refused.
  const auto signedHeight = static_cast<std::int32_t>(*height);
  if (signedHeight < 0) return std::nullopt;
  DibLayout layout;
  const auto signedWidth = static_cast<std::int32_t>(*width);
  if (!SideInRange(signedWidth) || !SideInRange(signedHeight / 2)) return std::nullopt;
  layout.Width = signedWidth;
  layout.Height = signedHeight / 2;
  layout.BitCount = *bitCount;
  if (!IsKnownBitCount(layout.BitCount, false)) return std::nullopt;

  std::uint64_t tableStart = headerSize;
  if (*compression == kBiBitfields) {
    if (layout.BitCount != 16 && layout.BitCount != 32) return std::nullopt;
    layout.Bitfields = true;
    // The three masks follow a plain info header, and are part of any larger header.
    const auto red = data.U32At(kInfoHeaderSize);
    const auto green = data.U32At(kInfoHeaderSize + 4);
    const auto blue = data.U32At(kInfoHeaderSize + 8);
    if (!red || !green || !blue) return std::nullopt;
    layout.ColourMasks = {*red, *green, *blue};
    tableStart = std::max<std::uint64_t>(headerSize, kInfoHeaderSize + 12);
    if (headerSize >= kInfoHeaderSize + 16) {
      layout.AlphaMask = data.U32At(kInfoHeaderSize + 12).value_or(0);
    } else if (((*red | *green | *blue) & 0xFF000000u) == 0 && layout.BitCount == 32) {
      layout.AlphaMask = 0xFF000000u;  // the byte the colours leave free
    }
  } else if (*compression == kBiRgb) {
    if (layout.BitCount == 16) {
      layout.ColourMasks = {0x7C00, 0x03E0, 0x001F};
    } else if (layout.BitCount == 32) {
      layout.ColourMasks = {0x00FF0000, 0x0000FF00, 0x000000FF};
      layout.AlphaMask = 0xFF000000u;
    }
  } else {
    return std::nullopt;  // run-length or embedded compressions are not icon formats
  }

  // A colour count is honoured up to 256 entries (also as an optional table for deep
  // bitmaps); 0 means the full table of a palette bitmap.
  layout.PaletteOffset = tableStart;
  if (*coloursUsed != 0) {
    layout.PaletteEntries = std::min<std::uint32_t>(*coloursUsed, 256);
  } else {
    layout.PaletteEntries = layout.BitCount <= 8 ? 1u << layout.BitCount : 0;
  }
  return layout;
}

std::optional<DibLayout> ReadLayout(const ByteCursor& data) {
  const auto headerSize = data.U32At(0);
  if (!headerSize || *headerSize > data.Size()) return std::nullopt;
  std::optional<DibLayout> layout;
  if (*headerSize == kCoreHeaderSize) {
    layout = ReadCoreLayout(data);
  } else if (*headerSize >= kInfoHeaderSize) {
    layout = ReadInfoLayout(data, *headerSize);
  }
  if (!layout || !SideInRange(layout->Width) || !SideInRange(layout->Height)) {
    return std::nullopt;
  }
  layout->BitsOffset =
      layout->PaletteOffset + std::uint64_t{layout->PaletteEntries} * layout->PaletteEntrySize;
  return layout;
}

std::uint64_t RowStride(int width, int bitCount) {
  return ((std::uint64_t(width) * std::uint64_t(bitCount) + 31) / 32) * 4;
}

// Palette entries as 0x00RRGGBB; indices past the table stay black.
bool ReadPalette(const ByteCursor& data, const DibLayout& layout,
                 std::array<std::uint32_t, 256>& palette) {
  auto table = data.Sub(layout.PaletteOffset,
                        std::uint64_t{layout.PaletteEntries} * layout.PaletteEntrySize);
  if (!table) return false;
  const std::uint32_t used = std::min<std::uint32_t>(layout.PaletteEntries, 256);
  for (std::uint32_t i = 0; i < used; ++i) {
    const auto entry = table->Take(layout.PaletteEntrySize);
    if (!entry) return false;
    palette[i] =
        (std::uint32_t{(*entry)[2]} << 16) | (std::uint32_t{(*entry)[1]} << 8) | (*entry)[0];
  }
  return true;
}

// One channel of a bit-field pixel widened to 8 bits by repeating its bits, as the platform
// expands 5-bit channels (v << 3 | v >> 2).
std::uint8_t ExtractChannel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint32_t field = mask >> shift;
  const int bits = std::bit_width(field);
  const std::uint32_t value = (pixel >> shift) & field;
  if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
  std::uint32_t widened = 0;
  for (int filled = 0; filled < 8; filled += bits) {
    widened = (widened << bits) | value;
  }
  const int excess = ((8 + bits - 1) / bits) * bits - 8;
  return static_cast<std::uint8_t>(widened >> excess);
}

void PutPixel(std::span<std::uint8_t> out, std::size_t index, std::uint32_t rgb,
              std::uint8_t alpha) {
  out[index * 4] = static_cast<std::uint8_t>(rgb >> 16);
  out[index * 4 + 1] = static_cast<std::uint8_t>(rgb >> 8);
  out[index * 4 + 2] = static_cast<std::uint8_t>(rgb);
  out[index * 4 + 3] = alpha;
}

// The colour of a bit-field pixel.
std::uint32_t BitfieldRgb(std::uint32_t pixel, const std::array<std::uint32_t, 3>& masks) {
  return (std::uint32_t{ExtractChannel(pixel, masks[0])} << 16) |
         (std::uint32_t{ExtractChannel(pixel, masks[1])} << 8) | ExtractChannel(pixel, masks[2]);
}

void DecodeIndexedRow(std::span<const std::uint8_t> row, const DibLayout& layout,
                      const std::array<std::uint32_t, 256>& palette, std::span<std::uint8_t> rgba,
                      std::size_t first) {
  // Indexes are packed from the high bits of each byte down.
  const int bits = layout.BitCount;
  const unsigned valueMask = (1u << bits) - 1;
  std::size_t byteAt = 0;
  int shift = 8 - bits;
  for (int x = 0; x < layout.Width; ++x) {
    PutPixel(rgba, first + x, palette[(row[byteAt] >> shift) & valueMask], 255);
    shift -= bits;
    if (shift < 0) {
      shift = 8 - bits;
      ++byteAt;
    }
  }
}

void Decode16BitRow(std::span<const std::uint8_t> row, const DibLayout& layout,
                    std::span<std::uint8_t> rgba, std::size_t first) {
  for (int x = 0; x < layout.Width; ++x) {
    const auto at = static_cast<std::size_t>(x) * 2;
    const std::uint32_t pixel = LoadLe16(row.subspan(at).first<2>());
    PutPixel(rgba, first + x, BitfieldRgb(pixel, layout.ColourMasks), 255);
  }
}

void Decode24BitRow(std::span<const std::uint8_t> row, const DibLayout& layout,
                    std::span<std::uint8_t> rgba, std::size_t first) {
  for (int x = 0; x < layout.Width; ++x) {
    const auto at = static_cast<std::size_t>(x) * 3;
    const std::uint32_t rgb =
        (std::uint32_t{row[at + 2]} << 16) | (std::uint32_t{row[at + 1]} << 8) | row[at];
    PutPixel(rgba, first + x, rgb, 255);
  }
}

// Returns whether any alpha byte was non-zero.
bool Decode32BitRow(std::span<const std::uint8_t> row, const DibLayout& layout,
                    std::span<std::uint8_t> rgba, std::size_t first) {
  bool anyAlpha = false;
  for (int x = 0; x < layout.Width; ++x) {
    const auto at = static_cast<std::size_t>(x) * 4;
    const std::uint32_t pixel = LoadLe32(row.subspan(at).first<4>());
    const std::uint32_t rgb =
        layout.Bitfields ? BitfieldRgb(pixel, layout.ColourMasks) : pixel & 0x00FFFFFFu;
    const std::uint8_t alpha =
        layout.Bitfields ? ExtractChannel(pixel, layout.AlphaMask) : row[at + 3];
    anyAlpha = anyAlpha || alpha != 0;
    PutPixel(rgba, first + x, rgb, alpha);
  }
  return anyAlpha;
}

// Decodes one stored row into picture row `first`..`first + width`; returns whether any alpha
// byte was non-zero.
bool DecodeRow(std::span<const std::uint8_t> row, const DibLayout& layout,
               const std::array<std::uint32_t, 256>& palette, std::span<std::uint8_t> rgba,
               std::size_t first) {
  switch (layout.BitCount) {
    case 1:
    case 4:
    case 8:
      DecodeIndexedRow(row, layout, palette, rgba, first);
      return false;
    case 16:
      Decode16BitRow(row, layout, rgba, first);
      return false;
    case 24:
      Decode24BitRow(row, layout, rgba, first);
      return false;
    case 32:
      return Decode32BitRow(row, layout, rgba, first);
    default:
      return false;
  }
}

}  // namespace

std::shared_ptr<IconPicture> DecodeIconDib(std::span<const std::uint8_t> bytes) {
  const ByteCursor data(bytes);
  const auto layout = ReadLayout(data);
  if (!layout) return nullptr;

  std::array<std::uint32_t, 256> palette{};
  if (!ReadPalette(data, *layout, palette)) return nullptr;

  const std::uint64_t stride = RowStride(layout->Width, layout->BitCount);
  const std::uint64_t maskStride = RowStride(layout->Width, 1);
  const auto height = static_cast<std::uint64_t>(layout->Height);
  auto colourBits = data.Sub(layout->BitsOffset, stride * height);
  if (!colourBits) return nullptr;  // the platform refuses short colour bits
  auto maskBits = data.Sub(layout->BitsOffset + stride * height, maskStride * height);

  auto picture = std::make_shared<IconPicture>();
  picture->Width = layout->Width;
  picture->Height = layout->Height;
  picture->Monochrome = layout->BitCount == 1;
  const std::size_t pixels = static_cast<std::size_t>(layout->Width) * layout->Height;
  picture->Rgba.resize(pixels * 4);
  picture->Mask.resize(pixels);

  // Local views: byte stores could otherwise alias the vectors' own pointers in every loop.
  const std::span<std::uint8_t> rgba(picture->Rgba);
  const std::span<std::uint8_t> mask(picture->Mask);

  // Rows are stored bottom-up; the picture keeps its top row first.
  bool anyAlpha = false;
  for (int y = layout->Height - 1; y >= 0; --y) {
    const auto row = colourBits->Take(stride);
    if (!row) return nullptr;
    const std::size_t first = static_cast<std::size_t>(y) * layout->Width;
    anyAlpha = DecodeRow(*row, *layout, palette, rgba, first) || anyAlpha;
  }
  picture->HasAlpha = anyAlpha;

  if (maskBits) {
    for (int y = layout->Height - 1; y >= 0; --y) {
      const auto taken = maskBits->Take(maskStride);
      if (!taken) return nullptr;
      const std::span<const std::uint8_t> row = *taken;
      const std::size_t first = static_cast<std::size_t>(y) * layout->Width;
      for (int x = 0; x < layout->Width; ++x) {
        mask[first + x] = (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
      }
    }
  } else if (!anyAlpha) {
    return nullptr;  // without alpha the mask is needed to know what is transparent
  }
  // An alpha image without its mask is taken as opaque where the alpha says so: the mask
  // stays all zero and drawing uses the alpha alone.

  if (!anyAlpha) {
    for (std::size_t i = 0; i < pixels; ++i) rgba[i * 4 + 3] = mask[i] ? 0 : 255;
  }
  return picture;
}

}  // namespace pictarix
