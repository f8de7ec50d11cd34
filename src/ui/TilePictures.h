#pragma once
// The pictures the list draws as tiles, at any tile size and pixel ratio. The 32x32 tile of the
// harvest serves a 32-pixel tile on a plain screen; every other tile is made from the icon's image
// closest to the tile's size in device pixels, made only when it is drawn and kept in a cache of
// bounded size, so a list of any length holds only a few screens of large pictures.
#include <QCache>
#include <QPixmap>

namespace pictarix {

class THarvester;

class TTilePictures {
 public:
  static constexpr int kBudgetKiB = 96 * 1024;

  explicit TTilePictures(const THarvester& harvester);

  // The picture of entry `entry` for a tile of `side` logical pixels on a surface of `ratio`
  // device pixels per logical pixel. Its logical size is at most `side`; a picture smaller than
  // the tile is shown at its own size rather than blown up. Null when the entry has none.
  QPixmap Tile(int entry, int side, qreal ratio);
  // Forgets every picture (the entries changed).
  void Clear() { cache_.clear(); }
  // Bytes held by the cache, in KiB.
  int CachedKiB() const { return static_cast<int>(cache_.totalCost()); }

 private:
  QImage HarvestTile(int entry) const;
  QImage ImageNear(int entry, int deviceSide) const;

  const THarvester& harvester_;
  QCache<quint64, QPixmap> cache_;
};

// The device pixels a tile of `side` logical pixels covers at `ratio`.
int DeviceSide(int side, qreal ratio);

}  // namespace pictarix
