#include "output/CursorConfigFile.h"

#include <algorithm>
#include <cstdint>

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"

namespace pictarix {

namespace {

std::string ImageLine(const IconImage& image, const ExportItem& item) {
  const ImageSize size = RealImageSize(image);
  const CursorHotspot hotspot = image.Hotspot.value_or(CursorHotspot{});
  return std::to_string(std::max(size.Width, size.Height)) + " " + std::to_string(hotspot.X) + " " +
         std::to_string(hotspot.Y) + " " + item.Path.filename().string();
}

std::uint64_t Milliseconds(std::uint32_t jiffies) {
  return (std::uint64_t{jiffies} * 1000 + 30) / 60;
}

}  // namespace

std::string CursorConfigText(const AdvancedIcon& cursor, const std::vector<ExportItem>& plan) {
  std::string text;
  if (cursor.Kind != EntryKind::Animated || !cursor.Frames) {
    for (const ExportItem& item : plan) {
      if (const IconImage* image = ItemImage(cursor, item)) text += ImageLine(*image, item) + "\n";
    }
    return text;
  }
  // The lines of each frame, made once; each step repeats its frame's with its delay.
  std::vector<std::vector<std::string>> frameLines(cursor.Frames->Frames.size());
  for (const ExportItem& item : plan) {
    const IconImage* image = ItemImage(cursor, item);
    if (image != nullptr && item.Frame >= 0)
      frameLines[static_cast<std::size_t>(item.Frame)].push_back(ImageLine(*image, item));
  }
  for (const AnimationStep& step : cursor.Frames->Steps) {
    if (step.Frame >= frameLines.size()) continue;
    const std::string delay = " " + std::to_string(Milliseconds(step.Jiffies)) + "\n";
    for (const std::string& line : frameLines[step.Frame]) text += line + delay;
  }
  return text;
}

}  // namespace pictarix
