#pragma once
// The text an exported cursor's images come with: the input of the standard tool that builds
// Xcursor files (xcursorgen), one line per image and step.
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"
#include "output/ExportImages.h"

namespace pictarix {

// "<size> <xhot> <yhot> <png file name>" per planned image of `cursor` (size: the image's larger
// side; an image without a hotspot points at 0,0); for an animated cursor, for each step in
// order, a line per planned image of that step's frame, ending in the step's delay in
// milliseconds (jiffies x 1000 / 60, rounded). Items that are no images are passed over.
std::string CursorConfigText(const AdvancedIcon& cursor, const std::vector<ExportItem>& plan);

}  // namespace pictarix
