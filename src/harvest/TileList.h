#pragma once
// LargeImgs: the 32x32 tiles of the list entries. Tiles keep the image's alpha.
#include <cstddef>
#include <utility>
#include <vector>

#include "imaging/HiResIcon.h"
#include "imaging/IconHandle.h"

namespace pictarix {

class TileList {
 public:
  static constexpr int kTileSize = 32;

  // Adds the graphic's picture as a tile and answers its position. Refuses (PictarixError) a
  // graphic without a picture or one that measures below 32x32, as the platform's image list does.
  int Add(IconGraphic& graphic);
  // The tile at `index` (32x32 at most; a larger picture is shown from its top-left corner).
  const IconHandle& Get(int index) const { return tiles_.at(static_cast<std::size_t>(index)); }
  int Count() const { return static_cast<int>(tiles_.size()); }
  void Clear() { tiles_.clear(); }
  // Hands every tile over, leaving the list empty; Restore takes such tiles back (Undo).
  std::vector<IconHandle> Take() { return std::exchange(tiles_, {}); }
  void Restore(std::vector<IconHandle> tiles) { tiles_ = std::move(tiles); }

 private:
  std::vector<IconHandle> tiles_;
};

}  // namespace pictarix
