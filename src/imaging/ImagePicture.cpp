#include "imaging/ImagePicture.h"

#include <algorithm>
#include <span>

#include "imaging/IconHandle.h"

namespace pictarix {

IconHandle DecodedPicture(IconImage& image) {
  if (!image.Handle && image.HasData()) {
    const std::vector<std::uint8_t>& data = image.Bytes();
    const std::size_t size = std::min<std::size_t>(image.BytesInRes, data.size());
    image.Handle = CreateIconFromResource(std::span<const std::uint8_t>(data.data(), size),
                                          image.Width, image.Height);
  }
  return image.Handle;
}

std::unique_ptr<IconGraphic> MakeGraphic(IconImage& image) {
  auto graphic = std::make_unique<IconGraphic>();
  if (IconHandle picture = DecodedPicture(image)) graphic->SetHandle(std::move(picture));
  return graphic;
}

}  // namespace pictarix
