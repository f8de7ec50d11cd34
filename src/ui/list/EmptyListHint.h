#pragma once
// What an empty list says in its middle, instead of white space: how to fill it, or that the
// filter hides every tile. Nothing while a run goes on. Drawn over the list's viewport in the
// palette's colour for placeholder text.
#include <functional>

#include <QObject>
#include <QString>

class QAbstractItemView;
class QWidget;

namespace pictarix {

class IconListModel;

class EmptyListHint : public QObject {
  Q_OBJECT

 public:
  static inline const QString kEmptyText =
      QStringLiteral("Open files or a folder (Open menu), or drop them here.");
  static inline const QString kFilteredText = QStringLiteral("No icon matches the filter.");

  // `running`: whether a run goes on.
  EmptyListHint(QAbstractItemView& view, const IconListModel& model, std::function<bool()> running);

  // The text shown now; empty when the list shows tiles.
  QString Text() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAbstractItemView& view_;
  QWidget* viewport_;
  const IconListModel& model_;
  std::function<bool()> running_;
};

}  // namespace pictarix
