#include "ui/window/PacedUpdate.h"

#include <QWidget>

namespace pictarix {

TPacedUpdate::TPacedUpdate(QWidget& widget) : widget_(widget) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &widget, [this] { Repaint(); });
}

void TPacedUpdate::Request() {
  if (timer_.isActive()) return;  // the coming repaint shows this change too
  const qint64 since = sinceRepaint_.isValid() ? sinceRepaint_.elapsed() : kIntervalMs;
  if (since >= kIntervalMs) {
    Repaint();
  } else {
    timer_.start(static_cast<int>(kIntervalMs - since));
  }
}

void TPacedUpdate::Repaint() {
  widget_.update();
  sinceRepaint_.start();
}

}  // namespace pictarix
