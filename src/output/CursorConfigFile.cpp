#include "output/CursorConfigFile.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"
#include "output/XcursorFile.h"

namespace pictarix {

namespace {

std::string ImageLine(const IconImage& image, const ExportItem& item, std::uint32_t delayMs) {
  const ImageSize size = RealImageSize(image);
  const CursorHotspot hotspot = image.Hotspot.value_or(CursorHotspot{});
  return std::to_string(std::max(size.Width, size.Height)) + " " + std::to_string(hotspot.X) + " " +
         std::to_string(hotspot.Y) + " " + item.Path.filename().string() + " " +
         std::to_string(delayMs) + "\n";
}

// Of each nominal size, the planned image an Xcursor file takes (XcursorImagePreference).
using SizeItems = std::map<int, const ExportItem*>;

SizeItems ChosenItems(const IconImageList& images, const std::vector<const ExportItem*>& planned) {
  SizeItems chosen;
  for (const int index : XcursorImagePreference(images)) {
    const ExportItem* item = planned[static_cast<std::size_t>(index)];
    if (item == nullptr) continue;
    const ImageSize size = RealImageSize(*images.Get(index));
    chosen.emplace(std::max(size.Width, size.Height), item);
  }
  return chosen;
}

// The planned items of one frame (-1: a still cursor's images), by image index.
std::vector<const ExportItem*> PlannedOfFrame(const IconImageList& images,
                                              const std::vector<ExportItem>& plan, int frame) {
  std::vector<const ExportItem*> planned(static_cast<std::size_t>(images.Count()), nullptr);
  for (const ExportItem& item : plan) {
    if (item.Frame == frame && item.Image >= 0 && item.Image < images.Count())
      planned[static_cast<std::size_t>(item.Image)] = &item;
  }
  return planned;
}

}  // namespace

std::string CursorConfigText(const AdvancedIcon& cursor, const std::vector<ExportItem>& plan) {
  std::string text;
  if (cursor.Kind != EntryKind::Animated || !cursor.Frames) {
    // A still cursor's delay is written as 0: xcursorgen takes 50 ms for a line without one.
    for (const auto& [size, item] :
         ChosenItems(cursor.Images, PlannedOfFrame(cursor.Images, plan, -1)))
      text += ImageLine(*ItemImage(cursor, *item), *item, 0);
    return text;
  }
  // As in an Xcursor file: a nominal size at a time, within it the steps in order.
  const Animation& animation = *cursor.Frames;
  std::vector<SizeItems> frames(animation.Frames.size());
  std::set<int> sizes;
  for (std::size_t frame = 0; frame < frames.size(); ++frame) {
    const IconImageList& images = animation.Frames[frame]->Images;
    frames[frame] = ChosenItems(images, PlannedOfFrame(images, plan, static_cast<int>(frame)));
    for (const auto& entry : frames[frame]) sizes.insert(entry.first);
  }
  for (const int size : sizes) {
    for (const AnimationStep& step : animation.Steps) {
      if (step.Frame >= frames.size()) continue;
      const auto found = frames[step.Frame].find(size);
      if (found == frames[step.Frame].end()) continue;
      text += ImageLine(*ItemImage(cursor, *found->second), *found->second,
                        DelayMilliseconds(step.Jiffies));
    }
  }
  return text;
}

}  // namespace pictarix
