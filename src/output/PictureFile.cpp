#include "output/PictureFile.h"

#include "output/BmpEncoder.h"
#include "output/GifEncoder.h"
#include "output/JpegEncoder.h"
#include "output/PictureError.h"
#include "output/PngEncoder.h"
#include "platform/SafeFile.h"

namespace pictarix {

std::vector<std::uint8_t> EncodePicture(int format, const RgbImage& image) {
  switch (format) {
    case sfGif:
      return EncodeGif(image);
    case sfBitmap:
      return EncodeBmp(image);
    case sfJpeg:
      return EncodeJpeg(image);
    case sfPng:
      return EncodePng(image);
    default:
      throw EPictureError("Not a picture format: " + std::to_string(format));
  }
}

void SavePictureToFile(int format, const RgbImage& image, const std::filesystem::path& fileName) {
  ReplaceFileContents(fileName, EncodePicture(format, image));
}

}  // namespace pictarix
