#include "ui/window/StatusPanels.h"

#include <algorithm>

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace pictarix {

namespace {
constexpr int kGap = 2;          // between two panels
constexpr int kTextMargins = 5;  // inside a panel, left and right of the text
}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(kHeight);
}

void StatusPanels::SetText(int panel, const QString& text) {
  auto& stored = texts_.at(static_cast<std::size_t>(panel));
  if (stored == text) return;
  stored = text;
  repaint_.Request();
}

QString StatusPanels::Text(int panel) const {
  return texts_.at(static_cast<std::size_t>(panel));
}

void StatusPanels::SetWidth(int panel, int width) {
  widths_.at(static_cast<std::size_t>(panel)) = width;
  repaint_.Request();
}

int StatusPanels::Width(int panel) const {
  const int width = widths_.at(static_cast<std::size_t>(panel));
  if (panel == 0) return width;
  const int needed = fontMetrics().horizontalAdvance(texts_[static_cast<std::size_t>(panel)]) +
                     kTextMargins + kGap + 2;
  return std::max(width, needed);
}

void StatusPanels::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  int others = 0;
  for (int panel = 1; panel < kPanelCount; ++panel) others += Width(panel);
  int left = 0;
  for (int panel = 0; panel < kPanelCount; ++panel) {
    const bool last = panel == kPanelCount - 1;
    int width = last ? this->width() - left : std::max(0, Width(panel));
    if (panel == 0) width = std::max(0, std::min(width, this->width() - others));
    const QRect area(left, 1, std::max(0, width - kGap), height() - 2);
    if (area.width() > 0) {
      qDrawShadePanel(&painter, area, palette(), true, 1);
      const QRect textArea = area.adjusted(3, 1, -2, -1);
      painter.setPen(palette().color(QPalette::WindowText));
      painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                       fontMetrics().elidedText(texts_[panel], Qt::ElideRight, textArea.width()));
    }
    left += width;
  }
}

}  // namespace pictarix
