#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/Settings.h"

namespace pictarix {

namespace {

const QString kWindowKey = kSettingsKey + QStringLiteral("\\Window");

std::int32_t Read(const char* name) {
  return ReadRegInt(TRegRoot::CurrentUser, kWindowKey, QString::fromLatin1(name), -1);
}

void Write(const char* name, int value) {
  WriteRegValue(TRegRoot::CurrentUser, kWindowKey, QString::fromLatin1(name), value);
}

bool OnSomeScreen(const QRect& area) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(area)) return true;
  }
  return false;
}

}  // namespace

void RestorePlacement(QWidget& window) {
  const QRect area(Read("Left"), Read("Top"), Read("Width"), Read("Height"));
  if (area.width() >= window.minimumWidth() && area.height() >= window.minimumHeight() &&
      OnSomeScreen(area)) {
    window.setGeometry(area);
  } else if (const QScreen* display = window.screen()) {
    window.move(display->availableGeometry().center() - window.rect().center());
  }
  if (Read("Maximized") == 1) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void StorePlacement(const QWidget& window) {
  // The normal geometry is the one a maximised window returns to.
  const QRect area = window.isMaximized() ? window.normalGeometry() : window.geometry();
  Write("Left", area.left());
  Write("Top", area.top());
  Write("Width", area.width());
  Write("Height", area.height());
  Write("Maximized", window.isMaximized() ? 1 : 0);
}

void SetTopmost(QWidget& window, bool topmost) {
  if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool shown = window.isVisible();
  window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (shown) window.show();  // changing the flags hides a shown window
}

}  // namespace pictarix
