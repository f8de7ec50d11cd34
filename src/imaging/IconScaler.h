#pragma once
// Resamples a decoded icon picture to another size, as the platform does when an icon is
// created at a desired size different from the image's own.
#include <memory>

#include "imaging/IconHandle.h"

namespace pictarix {

// Area averaging on premultiplied colour (every destination pixel averages the source area it
// covers, which for enlargements blends only at source pixel edges). A destination pixel is
// masked when most of its source area is masked; pictures without alpha keep their colours for
// unmasked pixels and their XOR colours for masked ones.
std::shared_ptr<IconPicture> ScaleIconPicture(const IconPicture& source, int width, int height);

}  // namespace pictarix
