#pragma once
// Decodes an icon image stored as a device-independent bitmap: colour bits followed by the
// AND mask, the header's height counting both.
#include <cstdint>
#include <memory>
#include <span>

#include "model/IconPicture.h"

namespace pictarix {

// The largest width or height an icon image may have; larger headers are refused.
inline constexpr int kMaxIconSide = 4096;

// The picture at its own size, or nullptr when the bytes are not a bitmap the platform accepts.
std::shared_ptr<IconPicture> DecodeIconDib(std::span<const std::uint8_t> data);

}  // namespace pictarix
