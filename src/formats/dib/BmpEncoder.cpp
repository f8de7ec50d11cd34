#include "formats/dib/BmpEncoder.h"

#include <cstddef>

#include "os/LittleEndian.h"
#include "os/PictureError.h"

namespace pictarix {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const RgbImage& image) {
  if (!IsEncodable(image)) throw PictureError("Cannot write a bitmap of this picture size");
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(image.Width) * 3 + 3) & ~3ull;
  const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(image.Height);
  const std::uint64_t fileBytes = kFileHeaderSize + kInfoHeaderSize + imageBytes;
  if (fileBytes > 0xFFFFFFFFull) throw PictureError("Cannot write a bitmap of this picture size");

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(fileBytes));
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, static_cast<std::uint32_t>(fileBytes));
  AppendLe32(out, 0);  // bfReserved1, bfReserved2
  AppendLe32(out, kFileHeaderSize + kInfoHeaderSize);
  // BITMAPINFOHEADER; a positive height means bottom-up rows.
  AppendLe32(out, kInfoHeaderSize);
  AppendLe32(out, static_cast<std::uint32_t>(image.Width));
  AppendLe32(out, static_cast<std::uint32_t>(image.Height));
  AppendLe16(out, 1);   // biPlanes
  AppendLe16(out, 24);  // biBitCount
  AppendLe32(out, 0);   // biCompression = BI_RGB
  AppendLe32(out, static_cast<std::uint32_t>(imageBytes));
  AppendLe32(out, 0);  // biXPelsPerMeter
  AppendLe32(out, 0);  // biYPelsPerMeter
  AppendLe32(out, 0);  // biClrUsed
  AppendLe32(out, 0);  // biClrImportant

  const std::size_t padding = static_cast<std::size_t>(rowBytes) - image.Width * 3u;
  for (int y = image.Height - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width; ++x) {
      const std::size_t at = image.PixelOffset(x, y);
      out.push_back(image.Rgb[at + 2]);  // blue, green, red
      out.push_back(image.Rgb[at + 1]);
      out.push_back(image.Rgb[at]);
    }
    out.insert(out.end(), padding, 0);
  }
  return out;
}

}  // namespace pictarix
