#include "imaging/IconHandle.h"

#include <new>

#include "formats/dib/DibDecoder.h"
#include "formats/png/PngDecoder.h"
#include "imaging/IconScaler.h"

namespace pictarix {

IconHandle CreateIconFromResource(std::span<const std::uint8_t> data, int desiredWidth,
                                  int desiredHeight) {
  if (desiredWidth < 0 || desiredHeight < 0 || desiredWidth > kMaxIconSide ||
      desiredHeight > kMaxIconSide) {
    return nullptr;
  }
  try {
    std::shared_ptr<IconPicture> picture =
        IsPngImage(data) ? DecodeIconPng(data) : DecodeIconDib(data);
    if (!picture) return nullptr;
    // Each side of 0 keeps the image's own length.
    const int width = desiredWidth != 0 ? desiredWidth : picture->Width;
    const int height = desiredHeight != 0 ? desiredHeight : picture->Height;
    if (width == picture->Width && height == picture->Height) return picture;
    return ScaleIconPicture(*picture, width, height);
  } catch (const std::bad_alloc&) {
    return nullptr;  // a creation that fails for memory is tried again on the next request
  }
}

}  // namespace pictarix
