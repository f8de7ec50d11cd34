#pragma once
// The main window's controls around the list: made as designed, and placed when the client area
// changes size.
#include <QSize>

class QListView;
class QObject;
class QTimer;
class QPushButton;
class QToolBar;
class QWidget;

namespace pictarix {

class StatusPanels;

struct MainControls {
  QToolBar& ToolBar;
  QListView& List;
  QWidget& Preview;
  QPushButton& StopButton;
  StatusPanels& StatusBar;
};

// The toolbar: along the top, 29 high, 16x16 glyphs, fixed in place.
QToolBar* CreateToolBar(QWidget& client);
// The status bar with its counter panels 65 wide.
StatusPanels* CreateStatusBar(QWidget& window);
// The list of tiles: icons in rows on a 76 x 70 grid, auto-arranged, several selectable, its
// context menu left to the window.
QListView* CreateTileView(QWidget& client);
// The Stop button: 46 x 36 with the stop glyph and its hint.
QPushButton* CreateStopButton(QWidget& client);
// The clock: the status bar's clock, firing every second from the start.
QTimer* CreateClock(QObject& owner);

// The toolbar along the top, the list below it, the preview tile in the middle of the list, the
// Stop button at its designed distance to the right and bottom edges, and the status panels.
void LayOutMainControls(const MainControls& controls, QSize client);

}  // namespace pictarix
