#include "harvest/TileList.h"

#include "os/Errors.h"

namespace pictarix {

int TTileList::Add(THiResIcon& graphic) {
  if (graphic.Empty()) throw EPictarixError("Invalid image");
  if (graphic.GetWidth() < kTileSize || graphic.GetHeight() < kTileSize)
    throw EPictarixError("Invalid image size");
  tiles_.push_back(graphic.Handle());
  return static_cast<int>(tiles_.size()) - 1;
}

}  // namespace pictarix
