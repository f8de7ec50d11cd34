#include "harvest/TileList.h"

#include "os/Errors.h"

namespace pictarix {

int TileList::Add(IconGraphic& graphic) {
  if (graphic.Empty()) throw PictarixError("Invalid image");
  if (graphic.GetWidth() < kTileSize || graphic.GetHeight() < kTileSize)
    throw PictarixError("Invalid image size");
  tiles_.push_back(graphic.Handle());
  return static_cast<int>(tiles_.size()) - 1;
}

}  // namespace pictarix
