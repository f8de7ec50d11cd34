#include "harvest/CursorHotspots.h"

#include <algorithm>
#include <memory>

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"

namespace pictarix {

namespace {

CursorHotspot Inside(const IconImage& image) {
  const ImageSize size = RealImageSize(image);
  const auto inside = [](std::uint16_t at, int side) {
    return static_cast<std::uint16_t>(std::min<int>(at, std::max(side - 1, 0)));
  };
  return CursorHotspot{inside(image.Hotspot->X, size.Width), inside(image.Hotspot->Y, size.Height)};
}

bool IsOutside(const IconImage& image) {
  return image.Hotspot && Inside(image) != *image.Hotspot;
}

bool MoveInside(const IconImageList& images) {
  bool moved = false;
  for (int i = 0; i < images.Count(); ++i) {
    IconImage& image = *images.Get(i);
    if (!IsOutside(image)) continue;
    image.Hotspot = Inside(image);
    moved = true;
  }
  return moved;
}

bool AnyFrameOutside(const Animation& animation) {
  for (const auto& frame : animation.Frames) {
    for (int i = 0; i < frame->Images.Count(); ++i) {
      if (IsOutside(*frame->Images.Get(i))) return true;
    }
  }
  return false;
}

// The animation again, with frames of its own whose hotspots lie inside their images.
std::shared_ptr<const Animation> FramesMovedInside(const Animation& animation) {
  auto moved = std::make_shared<Animation>();
  for (const auto& frame : animation.Frames) {
    auto copy = std::make_unique<AdvancedIcon>();
    copy->Assign(*frame);
    MoveInside(copy->Images);
    moved->Frames.push_back(std::move(copy));
  }
  moved->Steps = animation.Steps;
  moved->Title = animation.Title;
  moved->Author = animation.Author;
  moved->Source = animation.Source;
  return moved;
}

}  // namespace

bool KeepHotspotsInside(AdvancedIcon& cursor) {
  bool moved = MoveInside(cursor.Images);
  if (cursor.Frames && AnyFrameOutside(*cursor.Frames)) {
    cursor.Frames = FramesMovedInside(*cursor.Frames);
    moved = true;
  }
  return moved;
}

}  // namespace pictarix
