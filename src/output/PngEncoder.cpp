#include "output/PngEncoder.h"

#include <png.h>

#include <string>

#include "output/PictureError.h"

namespace pictarix {

std::vector<std::uint8_t> EncodePngPixels(int width, int height, int channels,
                                          std::span<const std::uint8_t> pixels) {
  // libpng's simplified interface keeps its setjmp/longjmp inside the library and frees
  // everything it made on every path, so no C++ frame is ever jumped over.
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  // Icon images are small: the faster filter and compression cost a few bytes, not quality.
  if (channels == 4) png.flags = PNG_IMAGE_FLAG_FAST;

  // The library's bound is never reached; should it be, the size it asks for is tried once.
  std::vector<std::uint8_t> out(PNG_IMAGE_PNG_SIZE_MAX(png));
  png_alloc_size_t size = out.size();
  bool written = png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr);
  if (!written && size > out.size()) {
    out.resize(size);
    written = png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr);
  }
  if (!written) {
    const std::string message = png.message;
    png_image_free(&png);
    throw EPictureError("Cannot write a PNG picture: " + message);
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image) {
  if (!IsEncodable(image)) throw EPictureError("Cannot write a PNG picture of this size");
  return EncodePngPixels(image.Width, image.Height, 3, image.Rgb);
}

}  // namespace pictarix
