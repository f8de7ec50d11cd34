#pragma once
// The text an exported cursor's images come with: the input of the standard tool that builds
// Xcursor files (xcursorgen), one line per image and step.
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"
#include "output/ExportImages.h"

namespace pictarix {

// "<size> <xhot> <yhot> <png file name> <ms>" per image an Xcursor file of `cursor` would hold
// (XcursorPicturesOf's choice among the planned images: one per nominal size and frame), in
// the same order: a nominal size at a time, within it the steps in order with their delays in
// milliseconds; a still cursor's delay is 0. An image without a hotspot points at 0,0.
std::string CursorConfigText(const AdvancedIcon& cursor, const std::vector<ExportItem>& plan);

}  // namespace pictarix
