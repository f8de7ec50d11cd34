#include "ui/window/KeyboardReach.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace pictarix {

namespace {
bool IsKey(QEvent* event, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* press = static_cast<QKeyEvent*>(event);
  return press->key() == key && (press->modifiers() & ~Qt::KeypadModifier) == modifiers;
}
}  // namespace

KeyboardReach::KeyboardReach(QMainWindow& window, QListView& list, QMenu& contextMenu,
                             std::function<bool()> running, std::function<void()> stop)
    : QObject(&window),
      window_(window),
      list_(list),
      contextMenu_(contextMenu),
      running_(std::move(running)),
      stop_(std::move(stop)) {
  window_.installEventFilter(this);
  list_.installEventFilter(this);
  for (QAction* item : window_.menuBar()->actions()) {
    if (QMenu* menu = item->menu()) menu->installEventFilter(this);
  }
}

void KeyboardReach::OpenContextMenuAtCurrentTile() {
  QModelIndex tile = list_.currentIndex();
  if (!tile.isValid() && list_.model() != nullptr) tile = list_.model()->index(0, 0);
  const QRect cell = tile.isValid() ? list_.visualRect(tile) : QRect();
  QPoint at = list_.viewport()->rect().center();
  if (cell.isValid() && list_.viewport()->rect().intersects(cell)) at = cell.center();
  contextMenu_.popup(list_.viewport()->mapToGlobal(at));
}

bool KeyboardReach::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &list_) {
    const bool keyboardMenu =
        event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    if (keyboardMenu || IsKey(event, Qt::Key_F10, Qt::ShiftModifier)) {
      OpenContextMenuAtCurrentTile();
      return true;
    }
  } else if (watched == &window_) {
    // Keys the focused control left alone reach the window: Esc stops a harvest, else it
    // brings the focus back to the list.
    if (IsKey(event, Qt::Key_Escape)) {
      if (running_()) {
        stop_();
      } else if (list_.isVisible()) {
        list_.setFocus(Qt::OtherFocusReason);
      }
      return true;
    }
  } else if (IsKey(event, Qt::Key_Escape)) {
    // A menu of the menu bar closing on Esc leaves the bar armed, holding the focus; once the
    // menu has gone, the list takes the focus back, which disarms the bar.
    QTimer::singleShot(0, &list_, [this] {
      QWidget* target = list_.isVisible() ? static_cast<QWidget*>(&list_) : &window_;
      target->setFocus(Qt::OtherFocusReason);
    });
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pictarix
