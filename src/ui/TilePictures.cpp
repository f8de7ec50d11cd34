#include "ui/TilePictures.h"

#include <algorithm>
#include <cmath>

#include "harvest/Harvester.h"
#include "output/RgbaPicture.h"
#include "ui/IconImages.h"

namespace pictarix {

int DeviceSide(int side, qreal ratio) {
  return std::max(1, static_cast<int>(std::ceil(side * std::max<qreal>(ratio, 1.0) - 0.01)));
}

TTilePictures::TTilePictures(const THarvester& harvester)
    : harvester_(harvester), cache_(kBudgetKiB) {}

QImage TTilePictures::HarvestTile(int entry) const {
  const TListEntry& item = harvester_.Entries.at(static_cast<std::size_t>(entry));
  if (item.ImageIndex < 0 || item.ImageIndex >= harvester_.LargeImgs.Count()) return {};
  const IconHandle& tile = harvester_.LargeImgs.Get(item.ImageIndex);
  return tile ? ToQImage(*tile, TTileList::kTileSize) : QImage();
}

QImage TTilePictures::ImageNear(int entry, int deviceSide) const {
  const TListEntry& item = harvester_.Entries.at(static_cast<std::size_t>(entry));
  if (!item.Icon) return {};
  const int index = ImageIndexForSize(item.Icon->Images, deviceSide);
  TIconImage* image = item.Icon->Images.Get(index);
  if (image == nullptr) return {};
  const std::optional<RgbaPicture> picture = ImageToRgba(*image);
  return picture ? ToQImage(*picture) : QImage();
}

QPixmap TTilePictures::Tile(int entry, int side, qreal ratio) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= harvester_.Entries.size() || side <= 0) {
    return {};
  }
  const int deviceSide = DeviceSide(side, ratio);
  // Sizes stay below 4096 pixels (the decoder refuses larger ones).
  const quint64 key = (static_cast<quint64>(entry) << 24) | (static_cast<quint64>(side) << 12) |
                      static_cast<quint64>(deviceSide & 0xFFF);
  if (const QPixmap* cached = cache_.object(key)) return *cached;

  QImage image;
  if (deviceSide != TTileList::kTileSize) image = ImageNear(entry, deviceSide);
  if (image.isNull()) image = HarvestTile(entry);  // also when no image of its own decodes
  if (image.isNull()) return {};
  int longer = std::max(image.width(), image.height());
  if (longer > deviceSide) {
    image = image.scaled(deviceSide, deviceSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    longer = deviceSide;
  }
  auto pixmap = std::make_unique<QPixmap>(QPixmap::fromImage(std::move(image)));
  // Down to the tile's logical size when larger; a smaller picture keeps its own size.
  pixmap->setDevicePixelRatio(longer > side ? static_cast<qreal>(longer) / side : 1.0);
  const QPixmap result = *pixmap;
  const qsizetype cost = std::max<qsizetype>(1, result.width() * result.height() * 4 / 1024);
  cache_.insert(key, pixmap.release(), cost);  // the cache owns it from here
  return result;
}

}  // namespace pictarix
