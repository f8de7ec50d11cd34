#pragma once
// Decodes a PNG-compressed icon image (any colour type) to 8-bit RGBA.
#include <cstdint>
#include <memory>
#include <span>

#include "model/IconPicture.h"

namespace pictarix {

// Deflate cannot expand data by more than about 1032 to 1; a header promising more pixels than
// the stream could hold is refused before anything is allocated for them.
inline constexpr std::uint64_t kMaxPngInflateRatio = 1100;
// Ancillary chunks (text, profiles) are not needed; what is read of them is kept small.
inline constexpr std::uint32_t kMaxPngChunkBytes = 1u << 20;

// True when `data` begins with the PNG signature.
bool IsPngImage(std::span<const std::uint8_t> data);

// The picture at its own size (HasAlpha set, mask where alpha is 0), or nullptr when the stream
// is damaged, truncated or larger than an icon may be.
std::shared_ptr<IconPicture> DecodeIconPng(std::span<const std::uint8_t> data);

}  // namespace pictarix
