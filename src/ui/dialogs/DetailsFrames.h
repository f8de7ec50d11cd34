#pragma once
// The frames of an animated cursor as its Details list them: every image of each frame, labelled
// with the frame and the steps that show it. A file of thousands of frames is listed up to a
// number of images, and the rest said in a note, so that the dialog stays quick.
#include <QString>
#include <vector>

#include "model/Animation.h"
#include "model/IconImageList.h"

namespace pictarix {

struct ListedFrames {
  IconImageList Images;          // copies of the listed frames' images, frame by frame
  std::vector<QString> Labels;   // per image: "Frame 2" and the steps that show it
  std::size_t FramesListed = 0;  // the first frames, wholly listed
};

// Lists whole frames while their images stay within `maxImages` (the first frame always).
ListedFrames ListFrames(const Animation& animation, int maxImages);

// Per frame of the first `frames`, the lines about the steps that show it ("Step 3: 83 ms"), at
// most `maxLines` and then how many more; "Shown by no step" when none does.
std::vector<QString> StepLines(const Animation& animation, std::size_t frames, int maxLines);

}  // namespace pictarix
