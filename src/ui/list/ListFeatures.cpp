#include "ui/list/ListFeatures.h"

#include <algorithm>
#include <iterator>

#include <QAction>
#include <QActionGroup>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/dialogs/ClearButton.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/DialogFolders.h"
#include "ui/list/EmptyListHint.h"
#include "ui/list/FilterCount.h"
#include "ui/list/IconListModel.h"
#include "ui/list/TileDelegate.h"
#include "ui/list/TileDrag.h"
#include "ui/window/ExportImagesCommand.h"
#include "ui/window/MainWindow.h"
#include "ui/window/SavedNotice.h"
#include "ui/window/Settings.h"
#include "ui/window/StatusPanels.h"

namespace pictarix {

namespace {

constexpr int kFilterBoxWidth = 180;

QMenu* MenuNamed(QMenuBar* bar, const QString& name) {
  for (QAction* action : bar->actions()) {
    if (action->objectName() == name && action->menu() != nullptr) return action->menu();
  }
  return nullptr;
}

// Inserts `item` into `menu` right after `after` (at the end when `after` is not in it).
void InsertAfter(QMenu* menu, QAction* after, QAction* item) {
  const QList<QAction*> items = menu->actions();
  const qsizetype at = items.indexOf(after);
  menu->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, item);
}

bool IsTileSize(int side) {
  return std::find(std::begin(ListFeatures::kTileSizes), std::end(ListFeatures::kTileSizes),
                   side) != std::end(ListFeatures::kTileSizes);
}

}  // namespace

ListFeatures::ListFeatures(MainWindow& window, Dialogs& dialogs)
    : QObject(&window),
      window_(window),
      dialogs_(dialogs),
      drag_(std::make_unique<TileDrag>(window.Harvest())) {
  setObjectName(QStringLiteral("ListFeatures"));
  QListView* view = window_.Parts().TileView;
  delegate_ = new TileDelegate(window_.ListModel(), view);
  view->setItemDelegate(delegate_);
  view->setTextElideMode(Qt::ElideMiddle);

  // Tiles dragged out become icon files; drags from this window are not dropped back into it.
  window_.ListModel().SetDragSource(
      [this](const EntrySelection& entries) { return drag_->MimeFor(entries); });
  view->setDragEnabled(true);
  view->setDragDropMode(QAbstractItemView::DragOnly);
  view->setDefaultDropAction(Qt::CopyAction);
  window_.installEventFilter(this);

  connect(view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    window_.Guarded([this, index] { ShowDetails(index.row()); });
  });
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ListFeatures::UpdateItems);
  connect(&window_.ListModel(), &QAbstractItemModel::modelReset, this, &ListFeatures::UpdateItems);
  connect(&window_.ListModel().Pictures(), &TilePictures::TilesReady, view->viewport(),
          qOverload<>(&QWidget::update));

  Hint = new EmptyListHint(*view, window_.ListModel(), [this] { return window_.RunInProgress(); });
  CreateMenuItems();
  CreateFilterBox();
  const int stored =
      ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kTileSizeValue, kTileSizes[0]);
  ApplyTileSize(IsTileSize(stored) ? stored : kTileSizes[0]);
  UpdateItems();
}

ListFeatures::~ListFeatures() = default;

void ListFeatures::CreateMenuItems() {
  const auto item = [this](const QString& caption, const char* name, auto handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] { window_.Guarded(handler); });
    return action;
  };
  Details = item(QStringLiteral("&Details"), "Details", [this] { ShowSelectedDetails(); });
  Details->setStatusTip(QStringLiteral("Show every image of the icon"));
  ExportImages =
      item(QStringLiteral("E&xport Images..."), "ExportImages", [this] { ExportSelected(); });
  ExportImages->setStatusTip(
      QStringLiteral("Save every image of the selected icons as PNG pictures"));
  ExportImages->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  ExportImages->setShortcutContext(Qt::WindowShortcut);
  ExportImages->setShortcutVisibleInContextMenu(false);

  QMenuBar* bar = window_.menuBar();
  QAction* batchSaveAs = window_.Parts().Item("batchSaveAs");
  if (QMenu* save = MenuNamed(bar, QStringLiteral("saveMenu"))) {
    InsertAfter(save, batchSaveAs, ExportImages);
  }
  QMenu* popup = window_.Parts().ContextMenu;
  const QList<QAction*> first = popup->actions();
  popup->insertAction(first.isEmpty() ? nullptr : first.front(), Details);
  popup->insertSeparator(first.isEmpty() ? nullptr : first.front());
  InsertAfter(popup, batchSaveAs, ExportImages);

  QMenu* view = MenuNamed(bar, QStringLiteral("viewMenu"));
  if (view == nullptr) return;
  view->addSeparator();
  QMenu* sizes = view->addMenu(QStringLiteral("Tile &Size"));
  sizes->menuAction()->setObjectName(QStringLiteral("TileSize"));
  auto* group = new QActionGroup(this);
  const QStringList captions{QStringLiteral("&32 x 32"),   QStringLiteral("&48 x 48"),
                             QStringLiteral("&64 x 64"),   QStringLiteral("&96 x 96"),
                             QStringLiteral("12&8 x 128"), QStringLiteral("&256 x 256")};
  for (std::size_t i = 0; i < std::size(kTileSizes); ++i) {
    const int side = kTileSizes[i];
    QAction* size = item(captions[static_cast<qsizetype>(i)], "TileSizeItem",
                         [this, side] { SetTileSize(side); });
    size->setCheckable(true);
    size->setData(side);
    group->addAction(size);
    sizes->addAction(size);
    TileSizeItems.push_back(size);
  }
  sizes->addSeparator();
  LargerTiles = item(QStringLiteral("&Larger"), "LargerTiles", [this] { StepTileSize(1); });
  SmallerTiles = item(QStringLiteral("S&maller"), "SmallerTiles", [this] { StepTileSize(-1); });
  LargerTiles->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  SmallerTiles->setShortcuts(QKeySequence::ZoomOut);
  for (QAction* step : {LargerTiles, SmallerTiles}) {
    step->setShortcutContext(Qt::WindowShortcut);
    sizes->addAction(step);
  }
}

void ListFeatures::CreateFilterBox() {
  QToolBar* bar = window_.Parts().ToolBar;
  auto* gap = new QWidget(bar);
  gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(gap);
  Count = new FilterCount(window_.ListModel(), bar);
  bar->addWidget(Count);
  FilterBox = new QLineEdit(bar);
  FilterBox->setObjectName(QStringLiteral("FilterBox"));
  FilterBox->setPlaceholderText(QStringLiteral("Filter by name or file"));
  FilterBox->setToolTip(QStringLiteral("Show only icons whose name or file contains this text"));
  FilterBox->setAccessibleName(QStringLiteral("Filter"));
  ShowNamedClearButton(*FilterBox, QStringLiteral("Clear filter"));
  FilterBox->setMaximumWidth(kFilterBoxWidth);
  FilterBox->installEventFilter(this);
  bar->addWidget(FilterBox);

  filterDelay_ = new QTimer(this);
  filterDelay_->setSingleShot(true);
  filterDelay_->setInterval(kFilterDelayMs);
  connect(filterDelay_, &QTimer::timeout, this,
          [this] { window_.Guarded([this] { ApplyFilter(); }); });
  connect(FilterBox, &QLineEdit::textChanged, filterDelay_, qOverload<>(&QTimer::start));

  auto* find = new QShortcut(QKeySequence::Find, &window_);
  find->setContext(Qt::WindowShortcut);
  connect(find, &QShortcut::activated, this, [this] {
    FilterBox->setFocus(Qt::ShortcutFocusReason);
    FilterBox->selectAll();
  });
}

bool ListFeatures::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FilterBox && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    FilterBox->clear();
    return true;
  }
  if (watched == &window_ && (event->type() == QEvent::DragEnter ||
                              event->type() == QEvent::DragMove || event->type() == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->source() != nullptr) {  // tiles of this program: they are in the list already
      drop->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

int ListFeatures::TileSize() const {
  return delegate_->TileSize();
}

void ListFeatures::ApplyTileSize(int side) {
  QListView* view = window_.Parts().TileView;
  delegate_->SetTileSize(side);
  view->setIconSize(QSize(side, side));
  view->setGridSize(TileDelegate::CellSize(view->fontMetrics(), side));
  for (QAction* size : TileSizeItems) size->setChecked(size->data().toInt() == side);
  if (LargerTiles != nullptr) LargerTiles->setEnabled(side != std::end(kTileSizes)[-1]);
  if (SmallerTiles != nullptr) SmallerTiles->setEnabled(side != kTileSizes[0]);
  if (view->currentIndex().isValid()) view->scrollTo(view->currentIndex());
}

void ListFeatures::SetTileSize(int side) {
  if (!IsTileSize(side)) return;
  ApplyTileSize(side);
  WriteSettingValue(SettingsRoot::CurrentUser, kSettingsKey, kTileSizeValue, side);
}

void ListFeatures::StepTileSize(int step) {
  const auto* at = std::find(std::begin(kTileSizes), std::end(kTileSizes), TileSize());
  const auto index =
      std::clamp<std::ptrdiff_t>(at - std::begin(kTileSizes) + step, 0, std::ssize(kTileSizes) - 1);
  SetTileSize(kTileSizes[index]);
}

void ListFeatures::ApplyFilter() {
  filterDelay_->stop();
  // Spaces around the text are no part of what is looked for: a lone space filters nothing.
  window_.ListModel().SetFilter(FilterBox->text().trimmed());
  window_.TileSelectionChanged();  // the selection went with the rows
}

void ListFeatures::UpdateItems() {
  const int selected = window_.SelectedCount();
  Details->setEnabled(selected >= 1);
  ExportImages->setEnabled(selected >= 1);
}

void ListFeatures::ShowDetails(int row) {
  const int entry = window_.ListModel().EntryIndex(row);
  if (entry < 0) return;
  DetailsDialog dialog(window_.Harvest().Entries.at(static_cast<std::size_t>(entry)), dialogs_,
                       &window_);
  dialogs_.ShowModal(dialog);
}

void ListFeatures::ShowSelectedDetails() {
  QListView* view = window_.Parts().TileView;
  const QModelIndex current = view->currentIndex();
  if (current.isValid() && view->selectionModel()->isSelected(current)) {
    ShowDetails(current.row());
    return;
  }
  const QModelIndexList selected = view->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  ShowDetails(std::min_element(selected.begin(), selected.end())->row());
}

void ListFeatures::ExportSelected() {
  QString folder = StartFolder(kExportImagesFolder);
  bool captionNames =
      ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kExportCaptionNamesValue, false);
  const int written =
      ExportEntryImages(dialogs_, &window_, window_.Harvest(),
                        PositionsOf(window_.SelectedEntries()), folder, captionNames);
  RememberFolder(kExportImagesFolder, folder);
  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kExportCaptionNamesValue, captionNames);
  if (written > 0) {
    ShowSaved(window_.Parts().StatusLine->Notice(), dialogs_, SavedFilesText(written, folder),
              folder);
  }
}

}  // namespace pictarix
