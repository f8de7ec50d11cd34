#include "ui/dialogs/HotspotMark.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QPainter>

namespace pictarix {

QPixmap WithHotspot(const QPixmap& board, const QRect& shown, QSize imageSize,
                    CursorHotspot hotspot) {
  if (board.isNull() || shown.isEmpty() || imageSize.isEmpty()) return board;
  // Drawn at the screen's pixel ratio, so the lines stay one device pixel however it scales.
  const qreal ratio = std::max<qreal>(1.0, qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
  QPixmap result(board.size() * ratio);
  result.fill(Qt::transparent);
  QPainter painter(&result);
  painter.drawPixmap(result.rect(), board);  // nearest pixel: the picture stays sharp
  const int x = std::clamp<int>(hotspot.X, 0, imageSize.width() - 1);
  const int y = std::clamp<int>(hotspot.Y, 0, imageSize.height() - 1);
  // Through the middle of the hotspot's pixel as shown.
  const int deviceX = static_cast<int>(
      std::floor((shown.x() + (x + 0.5) * shown.width() / imageSize.width()) * ratio));
  const int deviceY = static_cast<int>(
      std::floor((shown.y() + (y + 0.5) * shown.height() / imageSize.height()) * ratio));
  const QRect area(
      QPoint(static_cast<int>(shown.left() * ratio), static_cast<int>(shown.top() * ratio)),
      shown.size() * ratio);
  QPen light(Qt::white, 0);
  QPen dark(Qt::black, 0);
  dark.setDashPattern({2, 2});
  for (const QPen& pen : {light, dark}) {
    painter.setPen(pen);
    painter.drawLine(area.left(), deviceY, area.right(), deviceY);
    painter.drawLine(deviceX, area.top(), deviceX, area.bottom());
  }
  painter.end();
  result.setDevicePixelRatio(ratio);
  return result;
}

}  // namespace pictarix
