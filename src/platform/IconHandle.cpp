#include "platform/IconHandle.h"

namespace pictarix {

RgbaCanvas::RgbaCanvas(int width, int height, std::uint32_t fillRgba)
    : Width(width), Height(height) {
  Rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (std::size_t i = 0; i < Rgba.size(); i += 4) {
    Rgba[i] = static_cast<std::uint8_t>(fillRgba >> 24);
    Rgba[i + 1] = static_cast<std::uint8_t>(fillRgba >> 16);
    Rgba[i + 2] = static_cast<std::uint8_t>(fillRgba >> 8);
    Rgba[i + 3] = static_cast<std::uint8_t>(fillRgba);
  }
}

// The decoder is built separately; until then no image decodes.
IconHandle CreateIconFromResource(std::span<const std::uint8_t>, int, int) { return nullptr; }

void DrawIcon(RgbaCanvas&, int, int, const IconPicture&) {}

}  // namespace pictarix
