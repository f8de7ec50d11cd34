#include "ui/list/FilterCount.h"

#include "ui/list/IconListModel.h"

namespace pictarix {

FilterCount::FilterCount(const IconListModel& model, QWidget* parent)
    : QLabel(parent), model_(model) {
  setObjectName(QStringLiteral("FilterCount"));
  setAccessibleName(QStringLiteral("Icons shown"));
  setToolTip(QStringLiteral("Icons shown of all icons in the list"));
  setContentsMargins(4, 0, 4, 0);
  // Every change of the rows, and entries taken in that the filter leaves out.
  connect(&model, &QAbstractItemModel::modelReset, this, &FilterCount::Update);
  connect(&model, &QAbstractItemModel::rowsRemoved, this, &FilterCount::Update);
  connect(&model, &IconListModel::EntriesTaken, this, &FilterCount::Update);
  Update();
}

QString FilterCount::CountText(int shown, int all) {
  return QStringLiteral("%1 of %2").arg(shown).arg(all);
}

void FilterCount::Update() {
  setText(model_.Filter().isEmpty() ? QString()
                                    : CountText(model_.rowCount(), model_.EntryCount()));
}

}  // namespace pictarix
