#pragma once
// Draws one entry of the list: its tile at the chosen tile size, sharp at the screen's pixel
// ratio, and its caption whole below it in at most two lines.
#include <QStringList>
#include <QStyledItemDelegate>

class QFont;
class QFontMetrics;

namespace pictarix {

class IconListModel;

// Lines of `text` within `width`: one when it fits, else wrapped at word boundaries or anywhere;
// beyond two lines the first stays and the rest is elided in its middle, so that both the start
// and the end of the name show.
QStringList CaptionLines(const QString& text, const QFont& font, int width);

class TileDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // A caption as long as this sample fits on one line of the grid.
  static inline const QString kTypicalName = QStringLiteral("IDI_SHELL32_1");

  TileDelegate(IconListModel& model, QObject* parent);

  void SetTileSize(int side) { side_ = side; }
  int TileSize() const { return side_; }
  // The grid cell of one entry for tiles of `side` pixels under `metrics`.
  static QSize CellSize(const QFontMetrics& metrics, int side);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  IconListModel& model_;
  int side_ = 32;
};

}  // namespace pictarix
