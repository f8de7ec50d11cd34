#pragma once
// The list view's model: an adapter of the harvest's entries and their tiles. Rows are taken in
// batches (TakeNewRows), never one insertion per entry, so that a view over hundreds of
// thousands of entries lays itself out a few times per second at most. A filter text leaves out
// the entries whose name and file both lack it; rows then stand for a subset of the entries, so
// commands map rows to entries (Entries, EntryFlags).
#include <functional>
#include <span>
#include <vector>

#include <QAbstractListModel>
#include <QCache>
#include <QPixmap>

#include "model/AdvancedIcon.h"
#include "output/EntrySelection.h"
#include "ui/list/TilePictures.h"

namespace pictarix {

class Harvester;
struct ListEntry;

class IconListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kTileCacheSize = 4096;
  // The harvest's index of the entry a row shows (an int).
  static constexpr int kEntryIndexRole = Qt::UserRole + 1;
  // The entry's kind as the filter matches it (a QString): "cursor", "animated", empty for icons.
  static constexpr int kKindRole = Qt::UserRole + 2;

  explicit IconListModel(const Harvester& harvester, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

  // Entries the harvest added since the last batch, not yet looked at by the model.
  int PendingRows() const;
  // Takes the pending entries in as one batch of rows.
  void TakeNewRows();
  // The entries looked at: those shown and those the filter leaves out.
  int EntryCount() const { return taken_; }
  // Around a change of the harvest's entries in place (removal, clearing): the rows are shown
  // anew afterwards.
  void BeginRebuild();
  void EndRebuild();

  // The word a kind is known by: "cursor", "animated"; empty for an icon.
  static QString KindWord(EntryKind kind);

  // Shows only entries whose name, file or kind word contains `text` (any case); empty shows all.
  void SetFilter(const QString& text);
  const QString& Filter() const { return filter_; }
  // The entry a row shows; -1 outside the rows.
  int EntryIndex(int row) const;
  // The entries the rows show, in the order of `rows`; rows outside the list are left out.
  EntrySelection Entries(std::span<const int> rows) const;
  // Flags per entry of the harvest for flags per row.
  std::vector<bool> EntryFlags(const std::vector<bool>& rowFlags) const;

  // Pictures of the tiles at every size.
  TilePictures& Pictures() const { return pictures_; }
  // Makes the data dragged out of the list for the given entries.
  void SetDragSource(std::function<QMimeData*(const EntrySelection&)> source) {
    dragSource_ = std::move(source);
  }

 signals:
  // Entries were taken in, shown or left out by the filter.
  void EntriesTaken();

 private:
  bool Accepts(const ListEntry& entry) const;
  QString ToolTip(const ListEntry& entry) const;
  // Rows for every entry the filter accepts (all of them without a filter).
  void Refilter();

  const Harvester& harvester_;
  int taken_ = 0;          // entries looked at, shown or left out
  bool filtered_ = false;  // rows_ holds the entries shown; otherwise row = entry
  std::vector<int> rows_;
  QString filter_;
  mutable QCache<int, QPixmap> tiles_;
  mutable TilePictures pictures_;
  std::function<QMimeData*(const EntrySelection&)> dragSource_;
};

}  // namespace pictarix
