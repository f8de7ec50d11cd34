// Feeds any bytes to the cursor readers: the animated-cursor (RIFF) reader and the cursor-file
// reader, then checks what they give. Invariants checked: every step names a frame held that has
// images, at least one jiffy long; an animated cursor's own images are those of its first step's
// frame; every cursor image carries a hotspot.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorFileReader.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/Stream.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckAnimation(const pictarix::AdvancedIcon& cursor) {
  const pictarix::Animation& animation = *cursor.Frames;
  for (const pictarix::AnimationStep& step : animation.Steps) {
    Check(step.Frame < animation.Frames.size());
    Check(animation.Frames[step.Frame]->Images.Count() > 0);
    Check(step.Jiffies >= 1);
  }
  if (!animation.Steps.empty()) {
    const auto& shown = animation.Frames[animation.Steps.front().Frame]->Images;
    Check(shown.Count() == cursor.Images.Count());
  }
  Check(cursor.Images.Count() > 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictarix;
  const std::vector<std::uint8_t> bytes(data, data + size);
  AdvancedIcon animated;
  try {
    ReadAnimatedCursor(bytes, animated);
    CheckAnimation(animated);
  } catch (const PictarixError&) {
    Check(!animated.Frames);  // a refused form leaves the entry as it was
  }
  MemoryStream stream(bytes);
  AdvancedIcon cursor;
  try {
    if (ReadCursorFile(stream, cursor)) {
      for (int i = 0; i < cursor.Images.Count(); ++i)
        Check(cursor.Images.Get(i)->Hotspot.has_value());
    }
  } catch (const PictarixError&) {
    // Refused input.
  }
  return 0;
}
