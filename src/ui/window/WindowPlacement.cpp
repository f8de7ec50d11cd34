#include "ui/window/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

#include "ui/window/Settings.h"

namespace pictarix {

namespace {
// Qt's own record of size, position and state, which accounts for the window manager's frame.
const QString kGeometryValue = QStringLiteral("WindowGeometry");
}  // namespace

void RestorePlacement(QWidget& window) {
  const QVariant stored = ReadSettingValue(SettingsRoot::CurrentUser, kSettingsKey, kGeometryValue);
  if (stored.metaType().id() == QMetaType::QByteArray &&
      window.restoreGeometry(stored.toByteArray())) {
    return;
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
