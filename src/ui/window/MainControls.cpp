#include "ui/window/MainControls.h"

#include <algorithm>

#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "ui/window/Artwork.h"
#include "ui/window/MainWindow.h"
#include "ui/window/StatusPanels.h"

namespace pictarix {

namespace {

constexpr int kToolBarHeight = 29;
constexpr QSize kStopButtonSize(46, 36);
constexpr int kCounterPanelWidth = 65;
constexpr int kListTop = 30;
constexpr int kStopButtonRight = MainWindow::kClientWidth - 362 - kStopButtonSize.width();
constexpr int kStopButtonBottom = MainWindow::kClientHeight - 197 - kStopButtonSize.height();
constexpr int kClockPanelWidth = 80;

}  // namespace

QToolBar* CreateToolBar(QWidget& client) {
  auto* toolBar = new QToolBar(&client);
  toolBar->setObjectName(QStringLiteral("toolBar"));
  toolBar->setFixedHeight(kToolBarHeight);
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  toolBar->setIconSize(QSize(ButtonArtwork::kSide, ButtonArtwork::kSide));
  return toolBar;
}

StatusPanels* CreateStatusBar(QWidget& window) {
  auto* status = new StatusPanels(&window);
  status->setObjectName(QStringLiteral("statusBar"));
  status->SetWidth(1, kCounterPanelWidth);
  status->SetWidth(2, kCounterPanelWidth);
  return status;
}

QListView* CreateTileView(QWidget& client) {
  auto* list = new QListView(&client);
  list->setObjectName(QStringLiteral("TileView"));
  list->setViewMode(QListView::IconMode);
  list->setMovement(QListView::Static);  // auto-arranged
  list->setResizeMode(QListView::Adjust);
  list->setFlow(QListView::LeftToRight);
  list->setWrapping(true);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setUniformItemSizes(true);
  list->setLayoutMode(QListView::Batched);
  list->setBatchSize(2000);
  list->setIconSize(QSize(32, 32));
  list->setGridSize(QSize(76, 70));
  list->setWordWrap(true);
  list->setTextElideMode(Qt::ElideRight);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  list->setAccessibleName(QStringLiteral("Icons"));
  return list;
}

QPushButton* CreateStopButton(QWidget& client) {
  auto* stop = new QPushButton(&client);
  stop->setObjectName(QStringLiteral("stopButton"));
  stop->setIcon(QIcon(StopGlyph()));
  stop->setFixedSize(kStopButtonSize);
  stop->setToolTip(QStringLiteral("Stop processing"));
  stop->setAccessibleName(QStringLiteral("Stop"));
  stop->setStatusTip(QStringLiteral("Stop processing"));
  return stop;
}

QTimer* CreateClock(QObject& owner) {
  auto* clock = new QTimer(&owner);
  clock->setInterval(1000);
  clock->start();
  return clock;
}

void LayOutMainControls(const MainControls& controls, QSize client) {
  const int width = client.width();
  controls.ToolBar.setGeometry(0, 0, width, kToolBarHeight);
  QListView& list = controls.List;
  list.setGeometry(0, kListTop, width, std::max(0, client.height() - kListTop));
  // The tile sits in the middle of the list area (quotients truncated toward zero).
  controls.Preview.move((list.width() - controls.Preview.width()) / 2,
                        (list.height() - controls.Preview.height()) / 2 + list.y());
  // The client area of the design includes the status bar below the central widget.
  StatusPanels& status = controls.StatusBar;
  const int clientHeight = client.height() + status.height();
  controls.StopButton.move(width - kStopButtonRight - kStopButtonSize.width(),
                           clientHeight - kStopButtonBottom - kStopButtonSize.height());
  status.SetWidth(3, kClockPanelWidth);
  status.SetWidth(0, status.width() - 2 * status.Width(1) - status.Width(3));
}

}  // namespace pictarix
