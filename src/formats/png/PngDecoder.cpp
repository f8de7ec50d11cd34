#include "formats/png/PngDecoder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <vector>

#include "formats/dib/DibDecoder.h"
#include "os/ByteCursor.h"

namespace pictarix {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// libpng reports errors by longjmp to the frame that called setjmp. The functions that call
// setjmp below hold no objects with destructors, and every C++ object lives in the caller.
void ReadFromCursor(png_structp png, png_bytep out, png_size_t count) {
  auto* cursor = static_cast<ByteCursor*>(png_get_io_ptr(png));
  if (!cursor->ReadBytes(std::span<std::uint8_t>(out, count))) png_error(png, "truncated");
}

void IgnoreWarning(png_structp, png_const_charp) {}

void RaiseError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

// Reads the header and sets up the conversion to 8-bit RGBA; false on any error.
bool ReadHeaderAsRgba(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height,
                      png_size_t* storedRowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxIconSide, kMaxIconSide);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  *storedRowBytes = png_get_rowbytes(png, info);

  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // no effect when alpha is already there
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == static_cast<png_size_t>(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

// Releases the libpng read structures on every path.
class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool Ready() const { return png_ && info_; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

bool IsPngImage(std::span<const std::uint8_t> data) {
  return data.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

std::shared_ptr<IconPicture> DecodeIconPng(std::span<const std::uint8_t> data) {
  if (!IsPngImage(data)) return nullptr;
  PngReader reader;
  if (!reader.Ready()) return nullptr;
  ByteCursor cursor(data);
  png_set_read_fn(reader.Png(), &cursor, ReadFromCursor);

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  png_size_t storedRowBytes = 0;
  if (!ReadHeaderAsRgba(reader.Png(), reader.Info(), &width, &height, &storedRowBytes)) {
    return nullptr;
  }
  if (width == 0 || height == 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
  const std::uint64_t rawBytes = (std::uint64_t{storedRowBytes} + 1) * height;
  if (rawBytes > kMaxPngInflateRatio * data.size()) return nullptr;

  auto picture = std::make_shared<IconPicture>();
  picture->Width = static_cast<int>(width);
  picture->Height = static_cast<int>(height);
  picture->HasAlpha = true;
  const std::size_t pixels = std::size_t{width} * height;
  picture->Rgba.resize(pixels * 4);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = picture->Rgba.data() + std::size_t{y} * width * 4;
  }
  if (!ReadRows(reader.Png(), rows.data())) return nullptr;

  // The platform derives the AND mask from the alpha: fully transparent pixels are masked.
  picture->Mask.resize(pixels);
  for (std::size_t i = 0; i < pixels; ++i) picture->Mask[i] = picture->Rgba[i * 4 + 3] == 0;
  return picture;
}

}  // namespace pictarix
