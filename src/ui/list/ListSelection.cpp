#include "ui/list/ListSelection.h"

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

std::vector<int> IndexesOf(const std::vector<bool>& flags) {
  std::vector<int> indexes;
  for (std::size_t row = 0; row < flags.size(); ++row) {
    if (flags[row]) indexes.push_back(static_cast<int>(row));
  }
  return indexes;
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
