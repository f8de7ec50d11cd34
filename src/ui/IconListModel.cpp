#include "ui/IconListModel.h"

#include "harvest/Harvester.h"
#include "ui/IconImages.h"
#include "ui/QtPaths.h"

namespace pictarix {

TIconListModel::TIconListModel(const THarvester& harvester, QObject* parent)
    : QAbstractListModel(parent), harvester_(harvester), tiles_(kTileCacheSize) {}

int TIconListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant TIconListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const TListEntry& entry = harvester_.Entries.at(static_cast<std::size_t>(index.row()));
  switch (role) {
    case Qt::DisplayRole:
      return FromUtf8(entry.Caption);
    case Qt::DecorationRole: {
      if (entry.ImageIndex < 0 || entry.ImageIndex >= harvester_.LargeImgs.Count()) return {};
      if (QPixmap* cached = tiles_.object(entry.ImageIndex)) return *cached;
      const IconHandle& tile = harvester_.LargeImgs.Get(entry.ImageIndex);
      if (!tile) return {};
      auto pixmap =
          std::make_unique<QPixmap>(QPixmap::fromImage(ToQImage(*tile, TTileList::kTileSize)));
      const QPixmap result = *pixmap;
      tiles_.insert(entry.ImageIndex, pixmap.release());  // the cache owns it from here
      return result;
    }
    default:
      return {};
  }
}

int TIconListModel::PendingRows() const {
  return static_cast<int>(harvester_.Entries.size()) - shown_;
}

void TIconListModel::TakeNewRows() {
  const int total = static_cast<int>(harvester_.Entries.size());
  if (total <= shown_) return;
  beginInsertRows(QModelIndex(), shown_, total - 1);
  shown_ = total;
  endInsertRows();
}

void TIconListModel::BeginRebuild() {
  beginResetModel();
}

void TIconListModel::EndRebuild() {
  shown_ = static_cast<int>(harvester_.Entries.size());
  tiles_.clear();
  endResetModel();
}

}  // namespace pictarix
