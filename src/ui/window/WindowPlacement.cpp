#include "ui/window/WindowPlacement.h"

#include <optional>

#include <QDataStream>
#include <QScreen>
#include <QWidget>

#include "ui/window/Settings.h"

namespace pictarix {

namespace {
// Qt's own record of size, position and state, which accounts for the window manager's frame.
const QString kGeometryValue = QStringLiteral("WindowGeometry");

// The parts of Qt's record that survive a change of screen scale: Qt refuses the whole record
// when the screen's width in device-independent pixels differs by more than a quarter.
struct ScaledRecord {
  QRect Frame;   // the place, frame included, as move() takes it before the first show
  QRect Normal;  // the size of the client area when not maximised
  bool Maximised = false;
  int ScreenWidth = 0;
};

std::optional<ScaledRecord> ReadRecord(const QByteArray& bytes) {
  QDataStream stream(bytes);
  stream.setVersion(QDataStream::Qt_4_0);
  quint32 magic = 0;
  quint16 major = 0;
  quint16 minor = 0;
  ScaledRecord record;
  qint32 screenNumber = 0;
  quint8 maximised = 0;
  quint8 fullScreen = 0;
  qint32 screenWidth = 0;
  stream >> magic >> major >> minor >> record.Frame >> record.Normal >> screenNumber >> maximised >>
      fullScreen >> screenWidth;
  if (stream.status() != QDataStream::Ok || magic != 0x1D9D0CB || major < 2 || screenWidth <= 0 ||
      !record.Normal.isValid()) {
    return std::nullopt;
  }
  record.Maximised = maximised != 0;
  record.ScreenWidth = screenWidth;
  return record;
}

// The stored normal geometry taken to the current scale (the same share of the screen), kept
// inside the screen's available area.
bool RestoreRescaled(QWidget& window, const QByteArray& bytes) {
  const QScreen* display = window.screen();
  const std::optional<ScaledRecord> record = ReadRecord(bytes);
  if (!display || !record) return false;
  const QRect area = display->availableGeometry();
  const double ratio = double(display->geometry().width()) / record->ScreenWidth;
  QSize size = (QSizeF(record->Normal.size()) * ratio).toSize();
  size = size.boundedTo(area.size()).expandedTo(window.minimumSize());
  QPoint place =
      area.topLeft() + (QPointF(record->Frame.topLeft() - area.topLeft()) * ratio).toPoint();
  place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() - size.width())));
  place.setY(qBound(area.top(), place.y(), qMax(area.top(), area.bottom() - size.height())));
  window.resize(size);
  window.move(place);
  if (record->Maximised) window.setWindowState(window.windowState() | Qt::WindowMaximized);
  return true;
}
}  // namespace

void RestorePlacement(QWidget& window) {
  const QVariant stored = ReadSettingValue(SettingsRoot::CurrentUser, kSettingsKey, kGeometryValue);
  if (stored.metaType().id() == QMetaType::QByteArray) {
    const QByteArray bytes = stored.toByteArray();
    if (window.restoreGeometry(bytes) || RestoreRescaled(window, bytes)) return;
  }
  if (const QScreen* display = window.screen()) {
    window.move(display->availableGeometry().center() - window.rect().center());
  }
}

void StorePlacement(const QWidget& window) {
  WriteSettingValue(SettingsRoot::CurrentUser, kSettingsKey, kGeometryValue, window.saveGeometry());
}

void SetTopmost(QWidget& window, bool topmost) {
  if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool shown = window.isVisible();
  window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (shown) window.show();  // changing the flags hides a shown window
}

}  // namespace pictarix
