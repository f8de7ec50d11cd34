#pragma once
// The selection of the icon list as the commands need it: counts, flags and positions in list
// order, and the inversion.
#include <vector>

class QItemSelectionModel;

namespace pictarix {

int SelectedCount(const QItemSelectionModel& selection);
// One flag per row of the list.
std::vector<bool> SelectedFlags(const QItemSelectionModel& selection);
// The positions of the selected rows in list order.
std::vector<int> SelectedIndexes(const QItemSelectionModel& selection);
// Selects exactly the rows that were not selected, with one notification of the change; none
// when nothing is selected afterwards (the view is then to be repainted by the caller).
void InvertSelection(QItemSelectionModel& selection);

}  // namespace pictarix
