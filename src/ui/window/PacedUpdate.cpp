#include "ui/window/PacedUpdate.h"

#include <QWidget>

namespace pictarix {

PacedUpdate::PacedUpdate(QWidget& widget) : widget_(widget) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &widget, [this] { Repaint(); });
}

void PacedUpdate::Request() {
  if (timer_.isActive()) return;  // the coming repaint shows this change too
  const qint64 since = sinceRepaint_.isValid() ? sinceRepaint_.elapsed() : kIntervalMs;
  if (since >= kIntervalMs) {
    Repaint();
  } else {
    timer_.start(static_cast<int>(kIntervalMs - since));
  }
}

void PacedUpdate::Repaint() {
  widget_.update();
  sinceRepaint_.start();
}

}  // namespace pictarix
