#include "support/DibBuilder.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <stdexcept>

#include "support/LittleEndian.h"

namespace pictarix::testing {
namespace {

std::uint8_t Red(std::uint32_t c) {
  return static_cast<std::uint8_t>(c >> 24);
}
std::uint8_t Green(std::uint32_t c) {
  return static_cast<std::uint8_t>(c >> 16);
}
std::uint8_t Blue(std::uint32_t c) {
  return static_cast<std::uint8_t>(c >> 8);
}
std::uint8_t Alpha(std::uint32_t c) {
  return static_cast<std::uint8_t>(c);
}

// The top bits of an 8-bit channel placed in a bit-field mask.
std::uint32_t IntoMask(std::uint8_t channel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::bit_width(mask >> shift);
  const std::uint32_t value =
      bits <= 8 ? std::uint32_t{channel} >> (8 - bits) : std::uint32_t{channel} << (bits - 8);
  return (value << shift) & mask;
}

std::uint32_t PackBitfields(std::uint32_t colour, const std::array<std::uint32_t, 3>& masks) {
  return IntoMask(Red(colour), masks[0]) | IntoMask(Green(colour), masks[1]) |
         IntoMask(Blue(colour), masks[2]);
}

void WriteHeader(const DibLayout& layout, std::uint32_t coloursUsed,
                 std::vector<std::uint8_t>& out) {
  const std::int32_t storedHeight = layout.TopDown ? -2 * layout.Height : 2 * layout.Height;
  if (layout.HeaderSize == 12) {
    PutU32(out, 12);
    PutU16(out, static_cast<std::uint32_t>(layout.Width));
    PutU16(out, static_cast<std::uint32_t>(storedHeight));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(layout.BitCount));
    return;
  }
  PutU32(out, layout.HeaderSize);
  PutU32(out, static_cast<std::uint32_t>(layout.Width));
  PutU32(out, static_cast<std::uint32_t>(storedHeight));
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint32_t>(layout.BitCount));
  PutU32(out, layout.Bitfields ? 3 : 0);
  const std::size_t imageBytes =
      (DibRowBytes(layout.Width, layout.BitCount) + DibRowBytes(layout.Width, 1)) *
      static_cast<std::size_t>(layout.Height);
  PutU32(out, static_cast<std::uint32_t>(imageBytes));
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, coloursUsed);
  PutU32(out, 0);
  // Masks directly after a 40-byte header, or inside a larger one.
  if (layout.Bitfields) {
    for (const std::uint32_t mask : *layout.Bitfields) PutU32(out, mask);
  }
  while (out.size() < layout.HeaderSize) out.push_back(0);
}

void WriteColourRow(const DibLayout& layout, int y, std::vector<std::uint8_t>& out) {
  std::vector<std::uint8_t> row(DibRowBytes(layout.Width, layout.BitCount), 0);
  for (int x = 0; x < layout.Width; ++x) {
    const std::uint32_t value = layout.Pixels[static_cast<std::size_t>(y) * layout.Width + x];
    switch (layout.BitCount) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / layout.BitCount;
        const int shift = 8 - layout.BitCount * (x % perByte + 1);
        const std::uint32_t index = value & ((1u << layout.BitCount) - 1);
        row[x / perByte] |= static_cast<std::uint8_t>(index << shift);
        break;
      }
      case 16: {
        const auto masks =
            layout.Bitfields.value_or(std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F});
        const std::uint32_t pixel = PackBitfields(value, masks);
        row[x * 2] = static_cast<std::uint8_t>(pixel);
        row[x * 2 + 1] = static_cast<std::uint8_t>(pixel >> 8);
        break;
      }
      case 24:
        row[x * 3] = Blue(value);
        row[x * 3 + 1] = Green(value);
        row[x * 3 + 2] = Red(value);
        break;
      case 32: {
        std::uint32_t pixel = 0;
        if (layout.Bitfields) {
          // The alpha goes into the top byte when the colour masks leave it free.
          const auto& masks = *layout.Bitfields;
          const std::uint32_t spare = ~(masks[0] | masks[1] | masks[2]) & 0xFF000000u;
          pixel = PackBitfields(value, masks) | ((std::uint32_t{Alpha(value)} << 24) & spare);
        } else {
          pixel = (std::uint32_t{Alpha(value)} << 24) | (std::uint32_t{Red(value)} << 16) |
                  (std::uint32_t{Green(value)} << 8) | Blue(value);
        }
        for (int b = 0; b < 4; ++b) row[x * 4 + b] = static_cast<std::uint8_t>(pixel >> (8 * b));
        break;
      }
    }
  }
  out.insert(out.end(), row.begin(), row.end());
}

void WriteMaskRow(const DibLayout& layout, int y, std::vector<std::uint8_t>& out) {
  std::vector<std::uint8_t> row(DibRowBytes(layout.Width, 1), 0);
  if (!layout.Mask.empty()) {
    for (int x = 0; x < layout.Width; ++x) {
      if (layout.Mask[static_cast<std::size_t>(y) * layout.Width + x]) {
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  out.insert(out.end(), row.begin(), row.end());
}

}  // namespace

std::size_t DibRowBytes(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

std::vector<std::uint8_t> BuildDib(const DibLayout& layout) {
  const std::size_t pixels = static_cast<std::size_t>(layout.Width) * layout.Height;
  if (layout.Width < 0 || layout.Height < 0 || layout.Pixels.size() != pixels ||
      (!layout.Mask.empty() && layout.Mask.size() != pixels)) {
    throw std::invalid_argument("BuildDib: pixel or mask count does not match the size");
  }
  switch (layout.BitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      throw std::invalid_argument("BuildDib: unsupported bit count");
  }
  if (layout.HeaderSize != 12 && layout.HeaderSize < 40) {
    throw std::invalid_argument("BuildDib: header size must be 12 or at least 40");
  }
  const bool palettised = layout.BitCount <= 8;
  const std::uint32_t fullTable = palettised ? 1u << layout.BitCount : 0;
  const auto paletteLength = static_cast<std::uint32_t>(layout.Palette.size());
  const std::uint32_t coloursUsed =
      layout.ColorsUsed.value_or(paletteLength == fullTable ? 0 : paletteLength);

  std::vector<std::uint8_t> out;
  WriteHeader(layout, coloursUsed, out);
  for (const std::uint32_t entry : layout.Palette) {
    out.push_back(Blue(entry));
    out.push_back(Green(entry));
    out.push_back(Red(entry));
    if (layout.HeaderSize != 12) out.push_back(0);
  }
  // Both bitmaps are stored bottom-up.
  for (int y = layout.Height - 1; y >= 0; --y) WriteColourRow(layout, y, out);
  if (layout.WriteMask) {
    for (int y = layout.Height - 1; y >= 0; --y) WriteMaskRow(layout, y, out);
  }
  return out;
}

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

void RaisePngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

// Everything that can longjmp runs here; the frame holds no objects with destructors.
bool WritePng(png_structp png, png_infop info, const PngLayout* layout, int colourType,
              png_colorp palette, int paletteSize, png_bytep alphas, int alphaCount,
              png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(layout->Width),
               static_cast<png_uint_32>(layout->Height), layout->BitDepth, colourType,
               layout->Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, palette, paletteSize);
    if (alphaCount > 0) png_set_tRNS(png, info, alphas, alphaCount, nullptr);
  }
  png_write_info(png, info);
  if (layout->BitDepth == 16) png_set_swap(png);  // rows below are little-endian 16-bit samples
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

class PngWriter {
 public:
  PngWriter() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaisePngError, nullptr);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) throw std::runtime_error("BuildPng: libpng could not start");
  }
  ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> BuildPng(const PngLayout& layout) {
  const std::size_t pixels = static_cast<std::size_t>(layout.Width) * layout.Height;
  if (layout.Width <= 0 || layout.Height <= 0 || layout.Pixels.size() != pixels) {
    throw std::invalid_argument("BuildPng: pixel count does not match the size");
  }
  int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  std::vector<int> channels;  // 0..3 = red, green, blue, alpha; -1 = palette index
  switch (layout.Colour) {
    case PngColour::Rgba:
      colourType = PNG_COLOR_TYPE_RGB_ALPHA;
      channels = {0, 1, 2, 3};
      break;
    case PngColour::Rgb:
      colourType = PNG_COLOR_TYPE_RGB;
      channels = {0, 1, 2};
      break;
    case PngColour::Grey:
      colourType = PNG_COLOR_TYPE_GRAY;
      channels = {0};
      break;
    case PngColour::GreyAlpha:
      colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
      channels = {0, 3};
      break;
    case PngColour::Palette:
      colourType = PNG_COLOR_TYPE_PALETTE;
      channels = {-1};
      break;
  }

  std::vector<png_color> palette;
  std::vector<png_byte> alphas;
  std::vector<std::uint32_t> distinct;
  if (layout.Colour == PngColour::Palette) {
    for (const std::uint32_t c : layout.Pixels) {
      if (std::find(distinct.begin(), distinct.end(), c) == distinct.end()) distinct.push_back(c);
    }
    if (distinct.size() > (1u << layout.BitDepth)) {
      throw std::invalid_argument("BuildPng: too many colours for the palette depth");
    }
    for (const std::uint32_t c : distinct) {
      palette.push_back(png_color{Red(c), Green(c), Blue(c)});
      alphas.push_back(Alpha(c));
    }
    while (!alphas.empty() && alphas.back() == 255) alphas.pop_back();
  }

  // Samples packed as libpng expects them for the chosen depth.
  const int samplesPerPixel = static_cast<int>(channels.size());
  const std::size_t rowBits =
      static_cast<std::size_t>(layout.Width) * samplesPerPixel * layout.BitDepth;
  const std::size_t rowBytes = (rowBits + 7) / 8;
  std::vector<std::uint8_t> data(rowBytes * layout.Height, 0);
  for (int y = 0; y < layout.Height; ++y) {
    std::size_t bit = static_cast<std::size_t>(y) * rowBytes * 8;
    for (int x = 0; x < layout.Width; ++x) {
      const std::uint32_t c = layout.Pixels[static_cast<std::size_t>(y) * layout.Width + x];
      for (const int channel : channels) {
        std::uint32_t sample = 0;
        if (channel < 0) {
          sample = static_cast<std::uint32_t>(std::find(distinct.begin(), distinct.end(), c) -
                                              distinct.begin());
        } else {
          const std::uint8_t value = static_cast<std::uint8_t>(c >> (24 - 8 * channel));
          sample = layout.BitDepth == 16  ? value * 257u
                   : layout.BitDepth == 8 ? value
                                          : value >> (8 - layout.BitDepth);
        }
        if (layout.BitDepth == 16) {
          data[bit / 8] = static_cast<std::uint8_t>(sample);
          data[bit / 8 + 1] = static_cast<std::uint8_t>(sample >> 8);
        } else {
          const std::size_t shift = 8 - layout.BitDepth - bit % 8;
          data[bit / 8] |= static_cast<std::uint8_t>(sample << shift);
        }
        bit += static_cast<std::size_t>(layout.BitDepth);
      }
    }
  }
  std::vector<png_bytep> rows(layout.Height);
  for (int y = 0; y < layout.Height; ++y)
    rows[y] = data.data() + static_cast<std::size_t>(y) * rowBytes;

  std::vector<std::uint8_t> out;
  PngWriter writer;
  png_set_write_fn(writer.Png(), &out, AppendToVector, FlushNothing);
  if (!WritePng(writer.Png(), writer.Info(), &layout, colourType, palette.data(),
                static_cast<int>(palette.size()), alphas.data(), static_cast<int>(alphas.size()),
                rows.data())) {
    throw std::runtime_error("BuildPng: libpng refused the image");
  }
  return out;
}

std::uint32_t PixelOf(const IconPicture& picture, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * picture.Width + x) * 4;
  return Rgba(picture.Rgba.at(at), picture.Rgba.at(at + 1), picture.Rgba.at(at + 2),
              picture.Rgba.at(at + 3));
}

std::vector<std::uint32_t> PixelsOf(const IconPicture& picture) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) pixels.push_back(PixelOf(picture, x, y));
  }
  return pixels;
}

std::uint32_t PixelOf(const RgbaCanvas& canvas, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * canvas.Width + x) * 4;
  return Rgba(canvas.Rgba.at(at), canvas.Rgba.at(at + 1), canvas.Rgba.at(at + 2),
              canvas.Rgba.at(at + 3));
}

std::vector<std::uint8_t> BuildPng(int width, int height, const std::vector<std::uint32_t>& rgba) {
  PngLayout layout;
  layout.Width = width;
  layout.Height = height;
  layout.Pixels = rgba;
  return BuildPng(layout);
}

std::vector<PngChunk> SplitPng(const std::vector<std::uint8_t>& png) {
  const auto bigEndian = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | png.at(at + i);
    return value;
  };
  std::vector<PngChunk> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t length = bigEndian(at);
    if (at + 12 + length > png.size()) throw std::invalid_argument("cut PNG chunk");
    const auto type = png.begin() + static_cast<long>(at) + 4;
    chunks.push_back(
        {std::string(type, type + 4), std::vector<std::uint8_t>(type + 4, type + 4 + length)});
    at += 12 + length;
  }
  return chunks;
}

std::vector<std::uint8_t> JoinPng(const std::vector<PngChunk>& chunks) {
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto put = [&](std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
      png.push_back(static_cast<std::uint8_t>(value >> shift));
  };
  for (const PngChunk& chunk : chunks) {
    put(static_cast<std::uint32_t>(chunk.Data.size()));
    const std::size_t typeAt = png.size();
    png.insert(png.end(), chunk.Type.begin(), chunk.Type.end());
    png.insert(png.end(), chunk.Data.begin(), chunk.Data.end());
    put(static_cast<std::uint32_t>(
        crc32(0, png.data() + typeAt, static_cast<uInt>(png.size() - typeAt))));
  }
  return png;
}

}  // namespace pictarix::testing
