#pragma once
// Decodes a PNG-compressed icon image (any colour type) to 8-bit RGBA.
#include <cstdint>
#include <memory>
#include <span>

#include "platform/IconHandle.h"

namespace pictarix {

// True when `data` begins with the PNG signature.
bool IsPngImage(std::span<const std::uint8_t> data);

// The picture at its own size (HasAlpha set, mask where alpha is 0), or nullptr when the stream
// is damaged, truncated or larger than an icon may be.
std::shared_ptr<IconPicture> DecodeIconPng(std::span<const std::uint8_t> data);

}  // namespace pictarix
