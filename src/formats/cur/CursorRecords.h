#pragma once
// What cursors add to the records of icons: the header type 2, the resource types of cursors,
// and a cursor resource's hotspot before its image.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/IconImage.h"

namespace pictarix {

constexpr std::uint16_t kCursorHeaderType = 2;
constexpr std::uint16_t kResourceTypeCursor = 1;
constexpr std::uint16_t kResourceTypeGroupCursor = 12;
constexpr std::uint16_t kResourceTypeAnimatedCursor = 21;
constexpr std::uint16_t kResourceTypeAnimatedIcon = 22;
// A cursor resource starts with the hotspot's x and y, two words, before the image.
constexpr std::size_t kCursorResourceHotspotSize = 4;

// The image count of the cursor header at the start of `bytes` (reserved 0, type 2); nothing when
// the header is cut off or is no cursor header.
std::optional<std::uint16_t> CursorHeaderCount(std::span<const std::uint8_t> bytes);

// The image of a cursor resource: its hotspot (zeros where the resource is shorter) and the
// bytes after it, fields derived from them.
std::unique_ptr<IconImage> CursorImageFromResource(std::span<const std::uint8_t> resource);

}  // namespace pictarix
