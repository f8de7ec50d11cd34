#include "ui/window/StatusPanels.h"

#include <algorithm>

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

#include "ui/window/StatusNotice.h"

namespace pictarix {

namespace {
constexpr int kGap = 2;          // between two panels
constexpr int kTextMargins = 5;  // inside a panel, left and right of the text
}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setFixedHeight(kHeight);
  // A child placed by hand, not one of the status bar's own widgets, so that no message of the
  // status bar hides it.
  notice_ = new StatusNotice(this);
  connect(notice_, &StatusNotice::Changed, this, &StatusPanels::PlaceNotice);
}

void StatusPanels::SetText(int panel, const QString& text) {
  auto& stored = texts_.at(static_cast<std::size_t>(panel));
  if (stored == text) return;
  stored = text;
  PlaceNotice();
}

QString StatusPanels::Text(int panel) const {
  return texts_.at(static_cast<std::size_t>(panel));
}

void StatusPanels::SetWidth(int panel, int width) {
  widths_.at(static_cast<std::size_t>(panel)) = width;
  PlaceNotice();
}

int StatusPanels::Width(int panel) const {
  const int width = widths_.at(static_cast<std::size_t>(panel));
  if (panel == 0) return width;
  const int needed = fontMetrics().horizontalAdvance(texts_[static_cast<std::size_t>(panel)]) +
                     kTextMargins + kGap + 2;
  return std::max(width, needed);
}

std::array<QRect, StatusPanels::kPanelCount + 1> StatusPanels::Areas() const {
  int others = 0;
  for (int panel = 1; panel < kPanelCount; ++panel) others += Width(panel);
  int notice = 0;
  if (notice_->isVisibleTo(this)) {
    const int kept = notice_->Brief() ? 0 : kFirstPanelKept;
    notice = std::min(notice_->sizeHint().width() + kGap + 2,
                      std::max(0, this->width() - others - kept));
  }
  std::array<QRect, kPanelCount + 1> areas;
  int left = 0;
  for (int panel = 0; panel < kPanelCount; ++panel) {
    const bool last = panel == kPanelCount - 1;
    int width = last ? this->width() - left : std::max(0, Width(panel));
    if (panel == 0) width = std::max(0, std::min(width, this->width() - others - notice));
    areas[static_cast<std::size_t>(panel)] =
        QRect(left, 1, std::max(0, width - kGap), height() - 2);
    left += width;
    if (panel == 0 && notice > 0) {
      areas[kPanelCount] = QRect(left, 1, std::max(0, notice - kGap), height() - 2);
      left += notice;
    }
  }
  return areas;
}

void StatusPanels::PlaceNotice() {
  // Only while a notice shows: the counters' texts change after every icon of a run.
  if (notice_->isVisibleTo(this)) {
    const QRect area = Areas()[kPanelCount];
    notice_->setGeometry(area.width() > 2 ? area.adjusted(1, 1, -1, -1)
                                          : QRect(area.topLeft(), QSize()));
  }
  repaint_.Request();
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  PlaceNotice();
}

void StatusPanels::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const auto areas = Areas();
  for (std::size_t at = 0; at < areas.size(); ++at) {
    const QRect& area = areas[at];
    if (area.width() <= 0) continue;
    qDrawShadePanel(&painter, area, palette(), true, 1);
    if (at == kPanelCount) continue;  // the notice draws itself
    const QRect textArea = area.adjusted(3, 1, -2, -1);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(texts_[at], Qt::ElideRight, textArea.width()));
  }
}

}  // namespace pictarix
