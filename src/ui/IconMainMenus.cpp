// The menus, the context menu and the toolbar of TIconMain.
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "ui/IconMain.h"

namespace pictarix {

namespace {

constexpr int kNoGlyph = -1;
constexpr int kButtonWidth = 39;
constexpr int kSeparatorWidth = 8;

}  // namespace

QAction* TIconMain::MakeAction(QObject* owner, const char* name, const QString& caption,
                               const QString& hint, int glyph,
                               const std::function<void()>& handler) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setStatusTip(hint);
  action->setToolTip(hint.isEmpty() ? caption : hint);
  if (glyph != kNoGlyph) action->setIcon(BtnImgs.Icon(glyph));
  if (handler) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
  }
  return action;
}

void TIconMain::CreateMenus() {
  QMenuBar* bar = menuBar();

  QMenu* open = bar->addMenu(QStringLiteral("Open"));
  open->menuAction()->setObjectName(QStringLiteral("Open1"));
  OpenFiles1 =
      MakeAction(this, "OpenFiles1", QStringLiteral("File(s)"),
                 QStringLiteral("Search for icons in files"), 11, [this] { OpenFiles1Click(); });
  SearchDirectory1 = MakeAction(this, "SearchDirectory1", QStringLiteral("Directory"),
                                QStringLiteral("Search for icons in a directory"), 8,
                                [this] { SearchDirectory1Click(); });
  Exit1 = MakeAction(this, "Exit1", QStringLiteral("Exit"), QStringLiteral("Exit Pictarix Pro"), 6,
                     [this] { Exit1Click(); });
  open->addAction(OpenFiles1);
  open->addAction(SearchDirectory1);
  open->addSeparator()->setObjectName(QStringLiteral("N1"));
  open->addAction(Exit1);

  QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
  edit->menuAction()->setObjectName(QStringLiteral("Edit1"));
  SelectAll1 =
      MakeAction(this, "SelectAll1", QStringLiteral("Select All"),
                 QStringLiteral("Select all icons"), kNoGlyph, [this] { SelectAll1Click(); });
  SelectAll1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  InvertSelection1 = MakeAction(this, "InvertSelection1", QStringLiteral("Invert Selection"),
                                QStringLiteral("Invert the selection"), kNoGlyph,
                                [this] { InvertSelection1Click(); });
  edit->addAction(SelectAll1);
  edit->addAction(InvertSelection1);

  QMenu* save = bar->addMenu(QStringLiteral("Save"));
  save->menuAction()->setObjectName(QStringLiteral("Save1"));
  SaveAs2 = MakeAction(this, "SaveAs2", QStringLiteral("Save As"),
                       QStringLiteral("Save selected icons"), 9, [this] { SaveAs1Click(); });
  save->addAction(SaveAs2);
  QMenu* batch = save->addMenu(QStringLiteral("Batch Save As"));
  BatchSaveAs2 = batch->menuAction();
  BatchSaveAs2->setObjectName(QStringLiteral("BatchSaveAs2"));
  BatchSaveAs2->setStatusTip(QStringLiteral("Batch save"));
  AsIcons2 = MakeAction(this, "AsIcons2", QStringLiteral("Icons"), QString(), kNoGlyph, {});
  AsGIFs1 = MakeAction(this, "AsGIFs1", QStringLiteral("GIFs"), QString(), kNoGlyph, {});
  AsBitmaps2 = MakeAction(this, "AsBitmaps2", QStringLiteral("Bitmaps"), QString(), kNoGlyph, {});
  AsJPEGs2 = MakeAction(this, "AsJPEGs2", QStringLiteral("JPEGs"), QString(), kNoGlyph, {});
  save->addSeparator()->setObjectName(QStringLiteral("N8"));
  SaveLib2 = MakeAction(this, "SaveLib2", QStringLiteral("Save to Icon Library"),
                        QStringLiteral("Save selected icons into an icon library"), kNoGlyph, {});
  AddLib2 = MakeAction(this, "AddLib2", QStringLiteral("Add to Icon Library"),
                       QStringLiteral("Add selected icons into an existing icon library"), 10, {});
  save->addAction(SaveLib2);
  save->addAction(AddLib2);
  save->addSeparator()->setObjectName(QStringLiteral("N9"));
  Remove1 = MakeAction(this, "Remove1", QStringLiteral("Remove"),
                       QStringLiteral("Remove select icons from the ListView"), 5,
                       [this] { RemoveClick(); });
  CopyClipBrd2 = MakeAction(this, "CopyClipBrd2", QStringLiteral("Copy to Clipboard"),
                            QStringLiteral("Copy this image to Window clipboard"), kNoGlyph,
                            [this] { CopyClipBrd1Click(); });
  save->addAction(Remove1);
  save->addAction(CopyClipBrd2);
  int tag = 0;
  for (QAction* format : {AsIcons2, AsGIFs1, AsBitmaps2, AsJPEGs2}) {
    format->setData(tag++);
    batch->addAction(format);
    connect(format, &QAction::triggered, this,
            [this, format] { Guarded([this, format] { BatchSaveClick(format); }); });
  }
  SaveLib2->setData(0);
  AddLib2->setData(1);
  for (QAction* library : {SaveLib2, AddLib2}) {
    connect(library, &QAction::triggered, this,
            [this, library] { Guarded([this, library] { SaveLib1Click(library); }); });
  }

  QMenu* view = bar->addMenu(QStringLiteral("View"));
  view->menuAction()->setObjectName(QStringLiteral("View1"));
  Clear1 = MakeAction(this, "Clear1", QStringLiteral("Clear"), QStringLiteral("Clear all icons"),
                      kNoGlyph, [this] { Clear1Click(); });
  StayonTop1 = MakeAction(this, "StayonTop1", QStringLiteral("Stay on Top"),
                          QStringLiteral("Make this window topmost"), kNoGlyph,
                          [this] { StayonTop1Click(); });
  StayonTop1->setCheckable(true);  // the item toggles its own check mark
  view->addAction(Clear1);
  view->addSeparator()->setObjectName(QStringLiteral("N4"));
  view->addAction(StayonTop1);

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  help->menuAction()->setObjectName(QStringLiteral("Help1"));
  About1 = MakeAction(this, "About1", QStringLiteral("About ..."), QString(), kNoGlyph,
                      [this] { About1Click(); });
  help->addAction(About1);
}

void TIconMain::CreatePopupMenu() {
  // A child of the window, not of the list: disabling the list during Remove must not touch the
  // enabled state of the submenu's item.
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  // Same captions, hints, glyphs, tags and handlers as the items of the "Save" menu.
  const auto twin = [this](const char* name, QAction* item) {
    QAction* copy = MakeAction(this, name, item->text(), item->statusTip(), -1, {});
    copy->setIcon(item->icon());
    copy->setData(item->data());
    connect(copy, &QAction::triggered, item, &QAction::trigger);
    return copy;
  };
  SaveAs1 = twin("SaveAs1", SaveAs2);
  PopupMenu1->addAction(SaveAs1);
  QMenu* batch = PopupMenu1->addMenu(QStringLiteral("Batch Save As"));
  BatchSaveAs1 = batch->menuAction();
  BatchSaveAs1->setObjectName(QStringLiteral("BatchSaveAs1"));
  BatchSaveAs1->setStatusTip(BatchSaveAs2->statusTip());
  AsIcons1 = MakeAction(this, "AsIcons1", QStringLiteral("Icons"), QString(), -1, {});
  AsGIFs2 = MakeAction(this, "AsGIFs2", QStringLiteral("GIFs"), QString(), -1, {});
  AsBitmaps1 = MakeAction(this, "AsBitmaps1", QStringLiteral("Bitmaps"), QString(), -1, {});
  AsJpegs1 = MakeAction(this, "AsJpegs1", QStringLiteral("JPEGs"), QString(), -1, {});
  int tag = 0;
  for (QAction* format : {AsIcons1, AsGIFs2, AsBitmaps1, AsJpegs1}) {
    format->setData(tag++);
    batch->addAction(format);
    connect(format, &QAction::triggered, this,
            [this, format] { Guarded([this, format] { BatchSaveClick(format); }); });
  }
  PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N6"));
  SaveLib1 = MakeAction(this, "SaveLib1", SaveLib2->text(), SaveLib2->statusTip(), -1, {});
  AddLib1 = MakeAction(this, "AddLib1", AddLib2->text(), AddLib2->statusTip(), 10, {});
  SaveLib1->setData(0);
  AddLib1->setData(1);
  for (QAction* library : {SaveLib1, AddLib1}) {
    PopupMenu1->addAction(library);
    connect(library, &QAction::triggered, this,
            [this, library] { Guarded([this, library] { SaveLib1Click(library); }); });
  }
  PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N5"));
  Remove2 = twin("Remove2", Remove1);
  CopyClipBrd1 = twin("CopyClipBrd1", CopyClipBrd2);
  PopupMenu1->addAction(Remove2);
  PopupMenu1->addAction(CopyClipBrd1);

  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at)); });
  UpdateSelectionItems(0);  // every selection-driven item starts disabled
}

void TIconMain::CreateToolBar() {
  const auto button = [this](const char* name, int glyph, const QString& hint,
                             void (TIconMain::*handler)()) {
    QAction* action =
        MakeAction(this, name, hint, hint, glyph, [this, handler] { (this->*handler)(); });
    ToolBar1->addAction(action);
    if (QWidget* widget = ToolBar1->widgetForAction(action)) {
      widget->setObjectName(QString::fromLatin1(name));
      widget->setFixedWidth(kButtonWidth);
    }
    return action;
  };
  const auto separator = [this] {
    auto* gap = new QWidget(ToolBar1);
    gap->setFixedWidth(kSeparatorWidth);
    ToolBar1->addWidget(gap);
  };
  FileBtn = button("FileBtn", 11, QStringLiteral("Open files"), &TIconMain::OpenFiles1Click);
  DirBtn =
      button("DirBtn", 8, QStringLiteral("Open a directory"), &TIconMain::SearchDirectory1Click);
  separator();
  DelBtn = button("DelBtn", 5, QStringLiteral("Remove icons"), &TIconMain::RemoveClick);
  ClearBtn = button("ClearBtn", 4, QStringLiteral("Clear"), &TIconMain::Clear1Click);
  separator();
  SaveBtn = button("SaveBtn", 9, QStringLiteral("Save"), &TIconMain::SaveAs1Click);
}

}  // namespace pictarix
