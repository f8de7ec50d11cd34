#pragma once
// The pictures the list draws as tiles, at any tile size and pixel ratio. The 32x32 tile of the
// harvest serves a 32-pixel tile on a plain screen; every other tile is made from the icon's image
// closest to the tile's size in device pixels. Those are decoded on worker threads only when a
// tile is drawn (the harvest's tile, scaled, stands in until then) and kept in a cache of bounded
// size, so scrolling never waits for a decoder and a list of any length holds only a few screens
// of large pictures.
#include <atomic>
#include <memory>
#include <set>

#include <QCache>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QThreadPool>

namespace pictarix {

class Harvester;
class IconImage;

class TilePictures : public QObject {
  Q_OBJECT

 public:
  static constexpr int kBudgetKiB = 96 * 1024;
  // A request that this many newer ones have overtaken is dropped unmade: its tile has long
  // been scrolled away. More than the tiles of any screen.
  static constexpr quint64 kStaleAfter = 2048;
  // At most this many pictures wait to be made; beyond, the waiting ones are dropped.
  static constexpr std::size_t kMaxPending = 512;

  explicit TilePictures(const Harvester& harvester, QObject* parent = nullptr);
  ~TilePictures() override;

  // The picture of entry `entry` for a tile of `side` logical pixels on a surface of `ratio`
  // device pixels per logical pixel. Its logical size is at most `side`; a picture smaller than
  // the tile is shown at its own size rather than blown up. While the picture is being made, the
  // harvest's tile at the tile's size. Null when the entry has none.
  QPixmap Tile(int entry, int side, qreal ratio);
  // Forgets every picture, made or being made (the entries changed).
  void Clear();
  // Bytes held by the cache, in KiB.
  int CachedKiB() const { return static_cast<int>(cache_.totalCost()); }
  // Waits until the pictures being made are in the cache (for tests and measurements).
  void WaitForPending();

 signals:
  // Pictures were made: the tiles showing stand-ins can be drawn again.
  void TilesReady();

 private:
  QImage HarvestTile(int entry) const;
  void Request(quint64 key, std::unique_ptr<IconImage> image, int side, int deviceSide);
  void Arrived(quint64 key, quint64 generation, bool stale, const QImage& image, int side,
               int deviceSide);
  void Insert(quint64 key, QImage image);

  const Harvester& harvester_;
  QCache<quint64, QPixmap> cache_;
  std::set<quint64> pending_;
  quint64 generation_ = 0;  // results of an older generation are dropped
  std::shared_ptr<std::atomic<quint64>> requests_ = std::make_shared<std::atomic<quint64>>(0);
  QThreadPool workers_;
};

// The device pixels a tile of `side` logical pixels covers at `ratio`.
int DeviceSide(int side, qreal ratio);

}  // namespace pictarix
