#pragma once
// Beside the filter box while it filters: how many tiles show of all the list holds ("4 of
// 197"), kept current as rows arrive during a run and after Remove, Clear and Undo. Empty while
// nothing is filtered.
#include <QLabel>

namespace pictarix {

class IconListModel;

class FilterCount : public QLabel {
  Q_OBJECT

 public:
  FilterCount(const IconListModel& model, QWidget* parent);

  // "4 of 197".
  static QString CountText(int shown, int all);

 private:
  void Update();

  const IconListModel& model_;
};

}  // namespace pictarix
