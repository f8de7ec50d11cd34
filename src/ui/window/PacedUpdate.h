#pragma once
// Repaints a widget at most once per interval. The harvest changes the preview and the status
// texts after every icon, and repainting each time would cost more than the harvest itself; the
// last change is always painted, at most one interval late.
#include <QElapsedTimer>
#include <QTimer>

class QWidget;

namespace pictarix {

class PacedUpdate {
 public:
  static constexpr int kIntervalMs = 20;

  explicit PacedUpdate(QWidget& widget);
  // Asks for a repaint: now if the last one is older than the interval, else when it is.
  void Request();

 private:
  void Repaint();

  QWidget& widget_;
  QTimer timer_;
  QElapsedTimer sinceRepaint_;
};

}  // namespace pictarix
