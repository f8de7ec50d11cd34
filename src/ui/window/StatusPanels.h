#pragma once
// StatusLine: four sunken panels side by side, the last one reaching to the right edge. Panels
// 1 to 3 grow to fit their text; panel 0 gives way to them.
#include <array>

#include <QStatusBar>
#include <QString>

#include "ui/window/PacedUpdate.h"

namespace pictarix {

class StatusPanels : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kPanelCount = 4;
  static constexpr int kHeight = 19;

  explicit StatusPanels(QWidget* parent = nullptr);

  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  void SetWidth(int panel, int width);
  // The width set, or for panels 1 to 3 the width their text needs when that is more.
  int Width(int panel) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PacedUpdate repaint_{*this};
  std::array<QString, kPanelCount> texts_;
  std::array<int, kPanelCount> widths_{50, 65, 65, 50};
};

}  // namespace pictarix
