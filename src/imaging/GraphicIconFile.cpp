#include "imaging/GraphicIconFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "formats/ico/IconFileReader.h"

namespace pictarix {
namespace {

constexpr std::uint32_t kIconFileHeaderBytes = 6;
constexpr std::uint32_t kDirectoryEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint64_t MaskRowBytes(int width) {
  return ((std::uint64_t(width) + 31) / 32) * 4;
}

// The picture as a 32 bpp icon image: info header, bottom-up BGRA rows, bottom-up AND mask.
// A picture without alpha is written with all alpha bytes 0, so that its mask (and the XOR
// colours of masked pixels) decide again when it is read back, as the platform writes the
// colour bitmap of such an icon.
std::vector<std::uint8_t> IconImageBytes(const IconPicture& picture) {
  const int width = picture.Width;
  const int height = picture.Height;
  const auto pixels = static_cast<std::size_t>(width) * height;
  const std::uint64_t colourBytes = std::uint64_t(pixels) * 4;
  const std::uint64_t maskBytes = MaskRowBytes(width) * height;
  // An alpha picture that is transparent throughout would read back as a mask-driven one; its
  // colours are then written black, so that the masked pixels leave the background alone.
  const bool keepAlpha = picture.HasAlpha;
  bool blankColours = keepAlpha;
  for (std::size_t i = 0; blankColours && i < pixels; ++i) {
    blankColours = picture.Rgba[i * 4 + 3] == 0;
  }

  MemoryStream out;
  out.WriteU32(kInfoHeaderBytes);
  out.WriteU32(static_cast<std::uint32_t>(width));
  out.WriteU32(static_cast<std::uint32_t>(height) * 2);
  out.WriteU16(1);   // planes
  out.WriteU16(32);  // bit count
  out.WriteU32(0);   // BI_RGB
  out.WriteU32(static_cast<std::uint32_t>(colourBytes + maskBytes));
  out.WriteZeros(16);  // resolution and colour counts

  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 4;
      row[x * 4] = blankColours ? 0 : picture.Rgba[at + 2];
      row[x * 4 + 1] = blankColours ? 0 : picture.Rgba[at + 1];
      row[x * 4 + 2] = blankColours ? 0 : picture.Rgba[at];
      row[x * 4 + 3] = keepAlpha ? picture.Rgba[at + 3] : 0;
    }
    out.Write(row);
  }
  std::vector<std::uint8_t> maskRow(static_cast<std::size_t>(MaskRowBytes(width)));
  for (int y = height - 1; y >= 0; --y) {
    std::fill(maskRow.begin(), maskRow.end(), std::uint8_t{0});
    for (int x = 0; x < width; ++x) {
      if (picture.Mask[static_cast<std::size_t>(y) * width + x]) {
        maskRow[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.Write(maskRow);
  }
  return out.TakeBytes();
}

}  // namespace

void WriteGraphicIconFile(const IconGraphic& graphic, ByteStream& stream) {
  const IconHandle& handle = graphic.Handle();
  if (!handle || handle->Width <= 0 || handle->Height <= 0) return;
  const IconPicture& picture = *handle;
  const auto pixels = static_cast<std::size_t>(picture.Width) * picture.Height;
  if (picture.Rgba.size() < pixels * 4 || picture.Mask.size() < pixels) return;
  const std::vector<std::uint8_t> image = IconImageBytes(picture);

  // Header and the one directory entry; sizes of 256 and more are stored as 0.
  stream.WriteU16(0);
  stream.WriteU16(1);
  stream.WriteU16(1);
  stream.WriteU8(static_cast<std::uint8_t>(picture.Width < 256 ? picture.Width : 0));
  stream.WriteU8(static_cast<std::uint8_t>(picture.Height < 256 ? picture.Height : 0));
  stream.WriteU16(0);   // colour count and reserved byte
  stream.WriteU16(1);   // planes
  stream.WriteU16(32);  // bit count
  stream.WriteU32(static_cast<std::uint32_t>(image.size()));
  stream.WriteU32(kIconFileHeaderBytes + kDirectoryEntryBytes);
  stream.Write(image);
}

void AssignGraphic(AdvancedIcon& icon, const IconGraphic& graphic) {
  icon.Images.Clear();
  MemoryStream stream;
  WriteGraphicIconFile(graphic, stream);
  stream.Seek(0);
  ReadIconFile(stream, icon);
}

}  // namespace pictarix
