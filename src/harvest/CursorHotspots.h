#pragma once
// A cursor's hotspot outside its image points at the nearest edge pixel instead, in its images
// and in every frame of an animated cursor.
#include "model/AdvancedIcon.h"

namespace pictarix {

// Moves the hotspots of `cursor` (its images and its frames' images) that lie outside their
// image; answers whether any was moved. Frames shared with other icons are not changed: the
// icon gets frames of its own, sharing the image bytes, when one needs moving.
bool KeepHotspotsInside(AdvancedIcon& cursor);

}  // namespace pictarix
