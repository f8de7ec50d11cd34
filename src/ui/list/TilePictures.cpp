#include "ui/list/TilePictures.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>

#include "harvest/Harvester.h"
#include "imaging/RgbaPicture.h"
#include "ui/list/IconImages.h"

namespace pictarix {

namespace {

// The key of a tile: entry, logical and device size (sizes stay below 4096 pixels).
quint64 TileKey(int entry, int side, int deviceSide) {
  return (static_cast<quint64>(entry) << 24) | (static_cast<quint64>(side & 0xFFF) << 12) |
         static_cast<quint64>(deviceSide & 0xFFF);
}

// The picture at the tile's logical size when larger than it, else at its own, made for the
// screen's pixel ratio (so that drawing never scales it) in the format it draws fastest.
QImage ScaledToTile(const QImage& image, int side, int deviceSide) {
  if (image.isNull()) return image;
  const int longer = std::max(image.width(), image.height());
  const int logical = std::min(longer, side);
  const int device = std::max(1, logical * deviceSide / side);
  QImage scaled = longer == device
                      ? image
                      : image.scaled(device, device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  scaled = scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  scaled.setDevicePixelRatio(static_cast<qreal>(device) / logical);
  return scaled;
}

}  // namespace

int DeviceSide(int side, qreal ratio) {
  return std::max(1, static_cast<int>(std::ceil(side * std::max<qreal>(ratio, 1.0) - 0.01)));
}

TilePictures::TilePictures(const Harvester& harvester, QObject* parent)
    : QObject(parent), harvester_(harvester), cache_(kBudgetKiB) {
  workers_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

TilePictures::~TilePictures() {
  workers_.clear();
  workers_.waitForDone();
}

QImage TilePictures::HarvestTile(int entry) const {
  const ListEntry& item = harvester_.Entries.at(static_cast<std::size_t>(entry));
  if (item.ImageIndex < 0 || item.ImageIndex >= harvester_.LargeImgs.Count()) return {};
  const IconHandle& tile = harvester_.LargeImgs.Get(item.ImageIndex);
  return tile ? ToQImage(*tile, TileList::kTileSize) : QImage();
}

QPixmap TilePictures::Tile(int entry, int side, qreal ratio) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= harvester_.Entries.size() || side <= 0) {
    return {};
  }
  const int deviceSide = DeviceSide(side, ratio);
  const quint64 key = TileKey(entry, side, deviceSide);
  if (const QPixmap* cached = cache_.object(key)) return *cached;

  const QImage harvestTile = HarvestTile(entry);
  const ListEntry& item = harvester_.Entries[static_cast<std::size_t>(entry)];
  IconImage* image = nullptr;
  if (deviceSide != TileList::kTileSize && item.Icon) {
    image = item.Icon->Images.Get(ImageIndexForSize(item.Icon->Images, deviceSide));
  }
  if (image == nullptr) {
    if (harvestTile.isNull()) return {};
    Insert(key, ScaledToTile(harvestTile, side, deviceSide));
    return *cache_.object(key);
  }
  if (!pending_.contains(key)) {
    if (pending_.size() >= kMaxPending) {
      // Scrolling outran the workers: what waits is long out of sight. Tiles still shown ask
      // again when the view, told here, draws them again.
      workers_.clear();
      pending_.clear();
      QMetaObject::invokeMethod(this, &TilePictures::TilesReady, Qt::QueuedConnection);
    }
    pending_.insert(key);
    Request(key, IconImage::CreateCopy(*image), side, deviceSide);
  }
  if (harvestTile.isNull()) return {};
  // The stand-in covers the tile, scaled as it is drawn.
  QPixmap standIn = QPixmap::fromImage(harvestTile);
  standIn.setDevicePixelRatio(static_cast<qreal>(harvestTile.width()) / side);
  return standIn;
}

void TilePictures::Request(quint64 key, std::unique_ptr<IconImage> image, int side,
                           int deviceSide) {
  const quint64 stamp = ++*requests_;
  const quint64 generation = generation_;
  // The copy shares the image's bytes, which never change: the worker reads them alone.
  workers_.start([this, key, generation, stamp, side, deviceSide, requests = requests_,
                  copy = std::shared_ptr<IconImage>(std::move(image))] {
    QImage made;
    const bool stale = *requests - stamp > kStaleAfter;
    if (!stale) {
      if (const std::optional<RgbaPicture> picture = ImageToRgba(*copy)) {
        made = ScaledToTile(ToQImage(*picture), side, deviceSide);
      }
    }
    QMetaObject::invokeMethod(
        this,
        [this, key, generation, made, stale, side, deviceSide] {
          Arrived(key, generation, stale, made, side, deviceSide);
        },
        Qt::QueuedConnection);
  });
}

void TilePictures::Arrived(quint64 key, quint64 generation, bool stale, const QImage& image,
                           int side, int deviceSide) {
  if (generation != generation_) return;
  pending_.erase(key);
  if (stale) return;  // asked again when drawn again
  // When no image of its own decodes, the harvest's tile serves for good.
  const QImage made = image.isNull()
                          ? ScaledToTile(HarvestTile(static_cast<int>(key >> 24)), side, deviceSide)
                          : image;
  if (made.isNull()) return;
  Insert(key, made);
  emit TilesReady();
}

void TilePictures::Insert(quint64 key, QImage image) {
  auto pixmap = std::make_unique<QPixmap>(QPixmap::fromImage(std::move(image)));
  const qsizetype cost = std::max<qsizetype>(1, pixmap->width() * pixmap->height() * 4 / 1024);
  cache_.insert(key, pixmap.release(), cost);  // the cache owns it from here
}

void TilePictures::Clear() {
  ++generation_;
  pending_.clear();
  workers_.clear();
  cache_.clear();
}

void TilePictures::WaitForPending() {
  workers_.waitForDone();
  QCoreApplication::sendPostedEvents(this);
}

}  // namespace pictarix
