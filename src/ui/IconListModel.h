#pragma once
// The list view's model: an adapter of the harvest's entries and their tiles. Rows are taken in
// batches (TakeNewRows), never one insertion per entry, so that a view over hundreds of
// thousands of entries lays itself out a few times per second at most.
#include <QAbstractListModel>
#include <QCache>
#include <QPixmap>

namespace pictarix {

class THarvester;

class TIconListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kTileCacheSize = 4096;

  explicit TIconListModel(const THarvester& harvester, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Entries the harvest added since the last batch, not yet rows of the model.
  int PendingRows() const;
  // Takes the pending entries in as one batch of rows.
  void TakeNewRows();
  // Around a change of the harvest's entries in place (removal, clearing): the rows are shown
  // anew afterwards.
  void BeginRebuild();
  void EndRebuild();

 private:
  const THarvester& harvester_;
  int shown_ = 0;
  mutable QCache<int, QPixmap> tiles_;
};

}  // namespace pictarix
