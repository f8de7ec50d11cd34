#include "ui/list/IconListModel.h"

#include <algorithm>

#include <QMimeData>
#include <QStringList>

#include "harvest/Harvester.h"
#include "imaging/RgbaPicture.h"
#include "ui/list/IconImages.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

IconListModel::IconListModel(const Harvester& harvester, QObject* parent)
    : QAbstractListModel(parent),
      harvester_(harvester),
      tiles_(kTileCacheSize),
      pictures_(harvester) {}

int IconListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return filtered_ ? static_cast<int>(rows_.size()) : taken_;
}

int IconListModel::EntryIndex(int row) const {
  if (row < 0 || row >= rowCount()) return -1;
  return filtered_ ? rows_[static_cast<std::size_t>(row)] : row;
}

EntrySelection IconListModel::Entries(std::span<const int> rows) const {
  std::vector<int> entries;
  entries.reserve(rows.size());
  for (const int row : rows) entries.push_back(EntryIndex(row));
  return SelectEntries(harvester_.Entries, entries);
}

std::vector<bool> IconListModel::EntryFlags(const std::vector<bool>& rowFlags) const {
  std::vector<bool> flags(harvester_.Entries.size(), false);
  for (std::size_t row = 0; row < rowFlags.size(); ++row) {
    const int entry = EntryIndex(static_cast<int>(row));
    if (rowFlags[row] && entry >= 0 && static_cast<std::size_t>(entry) < flags.size()) {
      flags[static_cast<std::size_t>(entry)] = true;
    }
  }
  return flags;
}

QVariant IconListModel::data(const QModelIndex& index, int role) const {
  const int entryIndex = index.isValid() ? EntryIndex(index.row()) : -1;
  if (entryIndex < 0 || static_cast<std::size_t>(entryIndex) >= harvester_.Entries.size()) {
    return {};
  }
  const ListEntry& entry = harvester_.Entries[static_cast<std::size_t>(entryIndex)];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return FromUtf8(entry.Caption);
    case Qt::ToolTipRole:
      return ToolTip(entry);
    case kEntryIndexRole:
      return entryIndex;
    case kKindRole:
      return entry.Icon ? KindWord(entry.Icon->Kind) : QString();
    case Qt::DecorationRole: {
      if (entry.ImageIndex < 0 || entry.ImageIndex >= harvester_.LargeImgs.Count()) return {};
      if (QPixmap* cached = tiles_.object(entry.ImageIndex)) return *cached;
      const IconHandle& tile = harvester_.LargeImgs.Get(entry.ImageIndex);
      if (!tile) return {};
      auto pixmap =
          std::make_unique<QPixmap>(QPixmap::fromImage(ToQImage(*tile, TileList::kTileSize)));
      const QPixmap result = *pixmap;
      tiles_.insert(entry.ImageIndex, pixmap.release());  // the cache owns it from here
      return result;
    }
    default:
      return {};
  }
}

QString IconListModel::ToolTip(const ListEntry& entry) const {
  // Rich text, so that a name is never taken for markup and a long path never wraps.
  QStringList lines{FromUtf8(entry.Caption).toHtmlEscaped(), FromPath(entry.File).toHtmlEscaped()};
  if (entry.Icon) {
    const QString kind = KindWord(entry.Icon->Kind);
    if (!kind.isEmpty()) lines << QStringLiteral("Kind: ") + kind;
    for (int i = 0; i < entry.Icon->Images.Count(); ++i) {
      const IconImage& image = *entry.Icon->Images.Get(i);
      const ImageSize size = RealImageSize(image);
      const int depth = IsPngImage(image) ? 32 : image.BitCount;
      lines << QStringLiteral("%1 x %2, %3 bits%4")
                   .arg(size.Width)
                   .arg(size.Height)
                   .arg(depth)
                   .arg(IsPngImage(image) ? QStringLiteral(", PNG") : QString());
    }
  }
  return QStringLiteral("<p style='white-space:pre'>") + lines.join(QStringLiteral("<br>")) +
         QStringLiteral("</p>");
}

Qt::ItemFlags IconListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags result = QAbstractListModel::flags(index);
  if (index.isValid() && dragSource_) result |= Qt::ItemIsDragEnabled;
  return result;
}

QStringList IconListModel::mimeTypes() const {
  return {QStringLiteral("text/uri-list")};
}

QMimeData* IconListModel::mimeData(const QModelIndexList& indexes) const {
  if (!dragSource_) return nullptr;
  std::vector<int> rows;
  for (const QModelIndex& index : indexes) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());  // rows and entries are in the same order
  const EntrySelection entries = Entries(rows);
  return entries.empty() ? nullptr : dragSource_(entries);
}

QString IconListModel::KindWord(EntryKind kind) {
  switch (kind) {
    case EntryKind::Cursor:
      return QStringLiteral("cursor");
    case EntryKind::Animated:
      return QStringLiteral("animated");
    case EntryKind::Icon:
      break;
  }
  return {};
}

bool IconListModel::Accepts(const ListEntry& entry) const {
  if (filter_.isEmpty() || FromUtf8(entry.Caption).contains(filter_, Qt::CaseInsensitive) ||
      FromPath(entry.File).contains(filter_, Qt::CaseInsensitive)) {
    return true;
  }
  const QString kind = entry.Icon ? KindWord(entry.Icon->Kind) : QString();
  return !kind.isEmpty() && kind.contains(filter_, Qt::CaseInsensitive);
}

int IconListModel::PendingRows() const {
  return static_cast<int>(harvester_.Entries.size()) - taken_;
}

void IconListModel::TakeNewRows() {
  const int total = static_cast<int>(harvester_.Entries.size());
  if (total <= taken_) return;
  if (!filtered_) {
    beginInsertRows(QModelIndex(), taken_, total - 1);
    taken_ = total;
    endInsertRows();
    emit EntriesTaken();
    return;
  }
  std::vector<int> accepted;
  for (int entry = taken_; entry < total; ++entry) {
    if (Accepts(harvester_.Entries[static_cast<std::size_t>(entry)])) accepted.push_back(entry);
  }
  taken_ = total;
  if (accepted.empty()) {
    emit EntriesTaken();
    return;
  }
  const int first = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(accepted.size()) - 1);
  rows_.insert(rows_.end(), accepted.begin(), accepted.end());
  endInsertRows();
  emit EntriesTaken();
}

void IconListModel::Refilter() {
  taken_ = static_cast<int>(harvester_.Entries.size());
  filtered_ = !filter_.isEmpty();
  rows_.clear();
  if (!filtered_) return;
  for (int entry = 0; entry < taken_; ++entry) {
    if (Accepts(harvester_.Entries[static_cast<std::size_t>(entry)])) rows_.push_back(entry);
  }
}

void IconListModel::SetFilter(const QString& text) {
  if (text == filter_) return;
  beginResetModel();
  filter_ = text;
  Refilter();
  endResetModel();
}

void IconListModel::BeginRebuild() {
  beginResetModel();
}

void IconListModel::EndRebuild() {
  Refilter();
  tiles_.clear();
  pictures_.Clear();
  endResetModel();
}

}  // namespace pictarix
