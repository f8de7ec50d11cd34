#pragma once
// Picture files (GIF, bitmap, JPEG, PNG) by format code: encode, then replace the file.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "output/RgbImage.h"
#include "output/SaveFormat.h"

namespace pictarix {

// The file bytes of `image` in a picture format: sfGif, sfBitmap, sfJpeg or sfPng. Icon files
// are not pictures (they keep the icon's own images); sfIcon or any other code raises
// EPictureError, as does an encoder failure.
std::vector<std::uint8_t> EncodePicture(int format, const RgbImage& image);

// Encodes first and writes only a complete picture: a failed conversion leaves the target as it
// was. Write failures raise EFCreateError ("Cannot create file "%s". %s").
void SavePictureToFile(int format, const RgbImage& image, const std::filesystem::path& fileName);

}  // namespace pictarix
