#pragma once
// Format codes of output files and the file-name extensions that choose them.
#include <filesystem>
#include <string>

namespace pictarix {

enum TSaveFormat : int {
  sfIcon = 0,
  sfGif = 1,
  sfBitmap = 2,
  sfJpeg = 3,
  sfPng = 4,
};

// The format of the name's extension (from the last "." of the last path component, dot
// included, compared without regard to ASCII case): ".ico", ".gif", ".bmp", ".png", ".jpg" and
// ".jpeg". Any other extension, or none, gives -1.
int FormatFromExt(const std::filesystem::path& fileName);

// The extension written for a format code (".jpg" for JPEG); empty for any other value.
std::string ExtFromFormat(int format);

// The name with its extension (from the last "." of the last path component) replaced by `ext`,
// or with `ext` appended when it has none: pic.txt and pic both become pic.ico.
std::filesystem::path ReplaceExt(const std::filesystem::path& fileName, const std::string& ext);

}  // namespace pictarix
