#pragma once
// Keys that keep the window reachable from the keyboard alone: Esc closing a menu of the menu bar
// gives the focus back to the list with no menu left armed (so arrow keys move through tiles
// again, never into a hidden menu bar); Shift+F10 and the Menu key open the context menu at the
// current tile; Esc during a harvest stops it as the Stop button does.
#include <functional>

#include <QObject>

class QListView;
class QMainWindow;
class QMenu;

namespace pictarix {

class KeyboardReach : public QObject {
 public:
  KeyboardReach(QMainWindow& window, QListView& list, QMenu& contextMenu,
                std::function<bool()> running, std::function<void()> stop);

  // Opens the context menu beside the current tile (the first shown tile when none is current).
  void OpenContextMenuAtCurrentTile();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMainWindow& window_;
  QListView& list_;
  QMenu& contextMenu_;
  std::function<bool()> running_;
  std::function<void()> stop_;
};

}  // namespace pictarix
