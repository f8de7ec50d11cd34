#pragma once
// The selection of the icon list's rows as the commands need it: count, rows, flags, and the
// inversion.
#include <vector>

class QItemSelectionModel;

namespace pictarix {

int SelectedCount(const QItemSelectionModel& selection);
// The selected rows, in list order.
std::vector<int> SelectedRows(const QItemSelectionModel& selection);
// One flag per row of the list.
std::vector<bool> SelectedRowFlags(const QItemSelectionModel& selection);
// Selects exactly the rows that were not selected, with one notification of the change; none
// when nothing is selected afterwards (the view is then to be repainted by the caller).
void InvertSelection(QItemSelectionModel& selection);

}  // namespace pictarix
