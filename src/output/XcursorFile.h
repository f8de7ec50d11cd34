#pragma once
// An entry as an Xcursor file, the cursor format of X desktops: its images premultiplied, with
// nominal sizes, hotspots and, for an animated cursor, each step's delay. The file's bytes are
// made by libXcursor (loaded when first needed, output/XcursorLibrary.h).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "model/AdvancedIcon.h"

namespace pictarix {

// Far past any real cursor (an animation of a hundred steps at five sizes up to 256x256 holds
// under 9 million pixels), and what libXcursor still loads.
inline constexpr std::size_t kMaxXcursorImages = 0x10000;
inline constexpr std::uint64_t kMaxXcursorPixels = 32u << 20;

// One image of an Xcursor file.
struct XcursorPicture {
  std::uint32_t NominalSize = 0;  // the image's larger side
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint32_t XHot = 0;  // inside the image
  std::uint32_t YHot = 0;
  std::uint32_t DelayMs = 0;  // 0 for a still cursor
  // Premultiplied ARGB (alpha in the top byte), top row first; steps showing the same image
  // share it.
  std::shared_ptr<const std::vector<std::uint32_t>> Argb;
};

// The indexes of `images` in the order an Xcursor file prefers them for a nominal size: most
// colours first, the later image first on a tie.
std::vector<int> XcursorImagePreference(const IconImageList& images);

// The pictures of `icon`, grouped by nominal size (smallest first), and within a size in step
// order for an animated cursor. Each frame (a still cursor is one frame) gives one image per
// nominal size: an Xcursor file has no colour depths, and two images of one size would play as
// an animation, so the image with the most colours is taken (the later one on a tie; the next
// when it cannot be decoded). An icon's images get the hotspot 0,0; a hotspot outside its image
// is moved to the nearest edge pixel. FormatError when no image can be decoded or the file
// would pass kMaxXcursorImages or kMaxXcursorPixels.
std::vector<XcursorPicture> XcursorPicturesOf(const AdvancedIcon& icon);

// A step's delay in milliseconds: jiffies of 1/60 s, rounded.
std::uint32_t DelayMilliseconds(std::uint32_t jiffies);

// The bytes of the Xcursor file holding `pictures` in their order, as libXcursor writes it.
// PictarixError when libXcursor cannot be loaded or refuses them.
std::vector<std::uint8_t> XcursorFileBytes(std::span<const XcursorPicture> pictures);

// Writes `icon` as the Xcursor file `target` through the safe replace. FormatError as
// XcursorPicturesOf; FCreateError when the file cannot be written.
void SaveXcursorFile(const AdvancedIcon& icon, const std::filesystem::path& target);

}  // namespace pictarix
