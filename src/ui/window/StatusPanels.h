#pragma once
// StatusLine: four sunken panels side by side, the last one reaching to the right edge. Panels
// 1 to 3 grow to fit their text; panel 0 gives way to them. While a notice shows (StatusNotice),
// its own sunken area sits between panels 0 and 1: a lasting notice leaves panel 0 at least
// kFirstPanelKept wide, a brief one may take all of it until it goes.
#include <array>

#include <QRect>
#include <QStatusBar>
#include <QString>

#include "ui/window/PacedUpdate.h"

namespace pictarix {

class StatusNotice;

class StatusPanels : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kPanelCount = 4;
  static constexpr int kHeight = 19;
  static constexpr int kFirstPanelKept = 95;

  explicit StatusPanels(QWidget* parent = nullptr);

  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  void SetWidth(int panel, int width);
  // The width set, or for panels 1 to 3 the width their text needs when that is more.
  int Width(int panel) const;
  StatusNotice& Notice() const { return *notice_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The areas of panels 0 to 3 and, last, of the notice (empty when none shows).
  std::array<QRect, kPanelCount + 1> Areas() const;
  void PlaceNotice();

  PacedUpdate repaint_{*this};
  std::array<QString, kPanelCount> texts_;
  std::array<int, kPanelCount> widths_{50, 65, 65, 50};
  StatusNotice* notice_ = nullptr;
};

}  // namespace pictarix
