#include "ui/list/ListSelection.h"

#include <algorithm>

#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace pictarix {

int SelectedCount(const QItemSelectionModel& selection) {
  int count = 0;
  for (const QItemSelectionRange& range : selection.selection()) count += range.height();
  return count;
}

std::vector<bool> SelectedRowFlags(const QItemSelectionModel& selection) {
  std::vector<bool> flags(static_cast<std::size_t>(selection.model()->rowCount()), false);
  for (const QItemSelectionRange& range : selection.selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) {
      flags.at(static_cast<std::size_t>(row)) = true;
    }
  }
  return flags;
}

std::vector<int> SelectedRows(const QItemSelectionModel& selection) {
  std::vector<int> rows;
  for (const QItemSelectionRange& range : selection.selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  // Ranges come in the order they were selected in, and may overlap.
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void InvertSelection(QItemSelectionModel& selection) {
  const std::vector<bool> selected = SelectedRowFlags(selection);
  const QAbstractItemModel& model = *selection.model();
  QItemSelection inverted;
  const int rows = static_cast<int>(selected.size());
  for (int row = 0; row < rows;) {
    if (selected[static_cast<std::size_t>(row)]) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < rows && !selected[static_cast<std::size_t>(row)]) ++row;
    inverted.select(model.index(first, 0), model.index(row - 1, 0));
  }
  {
    // Clearing first keeps the change linear in the number of ranges; the one notification
    // below then reports the whole change.
    const QSignalBlocker quiet(&selection);
    selection.clearSelection();
  }
  if (!inverted.isEmpty()) selection.select(inverted, QItemSelectionModel::Select);
}

}  // namespace pictarix
