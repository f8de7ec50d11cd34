#include "formats/ico/ImageDataWriter.h"

#include <algorithm>
#include <span>

namespace pictarix {

void WriteImageData(const IconImage& image, ByteStream& stream) {
  if (!image.Data) return;
  const std::size_t held = std::min<std::size_t>(image.BytesInRes, image.Data->size());
  stream.Write(std::span<const std::uint8_t>(image.Data->data(), held));
  stream.WriteZeros(image.BytesInRes - held);
}

}  // namespace pictarix
