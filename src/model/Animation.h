#pragma once
// The frames and steps of an animated cursor: each frame a set of images (a whole cursor or
// icon), each step a frame shown for a number of jiffies (1/60 s).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"

namespace pictarix {

struct AnimationStep {
  std::uint32_t Frame = 0;    // an index into Frames
  std::uint32_t Jiffies = 1;  // at least 1
};

struct Animation {
  std::vector<std::unique_ptr<AdvancedIcon>> Frames;
  // In the order they are shown; every Frame names a frame held.
  std::vector<AnimationStep> Steps;
  std::string Title;   // UTF-8; empty when the file names none
  std::string Author;  // UTF-8; empty when the file names none
  // The whole file or resource the animation was read from (within its read budget), written
  // out again unchanged when the animation is saved; empty for one made otherwise.
  std::vector<std::uint8_t> Source;
};

}  // namespace pictarix
