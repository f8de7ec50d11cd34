#pragma once
// File names made from file content (a resource name, a caption): whatever the content holds,
// the name stays one harmless name inside the folder it is written to.
#include <cstddef>
#include <string>
#include <string_view>

namespace pictarix {

// The longest name, in bytes, that the usual Linux file systems hold.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// `text` as the stem of a file name of at most `maxBytes` bytes: invalid UTF-8, control
// characters (C0, DEL, C1), the bidirectional controls and line separators, and characters a
// name cannot hold here or on Windows ("/", "\", ":", "*", "?", '"', "<", ">", "|") become "_";
// leading dots and spaces and trailing spaces go, and the rest is cut at a character boundary.
// "icon" when nothing is left.
std::string SafeFileStem(std::string_view text, std::size_t maxBytes);

// SafeFileStem of `text` followed by `suffix` (an extension such as ".ico", or " (2).ico"), kept
// whole, in at most kMaxFileNameBytes bytes.
std::string SafeFileName(std::string_view text, std::string_view suffix);

}  // namespace pictarix
