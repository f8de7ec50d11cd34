#pragma once
// Formats of output files and the file-name extensions that choose them.
#include <filesystem>
#include <optional>
#include <string>

namespace pictarix {

enum class SaveFormat { Icon, Gif, Bitmap, Jpeg, Png, Cursor, AnimatedCursor };

// The format of the name's extension (from the last "." of the last path component, dot
// included, compared without regard to ASCII case): ".ico", ".gif", ".bmp", ".png", ".jpg" and
// ".jpeg", ".cur" and ".ani". Any other extension, or none, gives nothing.
std::optional<SaveFormat> FormatFromExt(const std::filesystem::path& fileName);

// The extension written for a format (".jpg" for JPEG).
std::string ExtFromFormat(SaveFormat format);

// The name with its extension (from the last "." of the last path component) replaced by `ext`,
// or with `ext` appended when it has none: pic.txt and pic both become pic.ico.
std::filesystem::path ReplaceExt(const std::filesystem::path& fileName, const std::string& ext);

}  // namespace pictarix
