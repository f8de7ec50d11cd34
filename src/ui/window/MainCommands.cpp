#include "ui/window/MainCommands.h"

#include <map>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "ui/window/Artwork.h"
#include "ui/window/MainWindow.h"
#include "ui/window/OutputCommands.h"

namespace pictarix {

namespace {

template <void (MainWindow::*Handler)()>
void Call(MainWindow& window, QAction*) {
  (window.*Handler)();
}

template <void (MainWindow::*Handler)(QAction*)>
void CallWith(MainWindow& window, QAction* sender) {
  (window.*Handler)(sender);
}

using enum RowKind;
using enum EnabledBy;
constexpr QKeyCombination kNoKey;
constexpr int kNoGlyph = -1;
constexpr int kNoTag = -1;
constexpr int kButtonWidth = 39;
constexpr int kToolBarGap = 8;

const char* const kSaveAsHint = "Save selected icons";
const char* const kSaveLibHint = "Save selected icons into an icon library";
const char* const kAddLibHint = "Add selected icons into an existing icon library";
const char* const kRemoveHint = "Remove select icons from the ListView";
const char* const kCopyHint = "Copy this image to Window clipboard";
const char* const kCopyLargestHint =
    "Copy the largest image of this icon, with its transparency, to the clipboard";
const char* const kThemeHint = "Save the selected cursors as a cursor theme";
// The menu whose items the context menu offers as well.
const char* const kContextMenuItems = "saveMenu";

}  // namespace

// Ctrl+E is kept free for exporting images.
// shape check: data table
const std::vector<CommandRow>& MainCommandRows() {
  static const std::vector<CommandRow> rows = {
      {"MenuBar", "openMenu", Menu, "&Open", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"openMenu", "openFiles", Item, "&File(s)", "Search for icons in files", 11,
       Qt::CTRL | Qt::Key_O, Always, kNoTag, Call<&MainWindow::OpenFilesClick>},
      {"openMenu", "openDirectory", Item, "&Directory", "Search for icons in a directory", 8,
       Qt::CTRL | Qt::SHIFT | Qt::Key_O, Always, kNoTag, Call<&MainWindow::OpenDirectoryClick>},
      {"openMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"openMenu", "exit", Item, "E&xit", "Exit Pictarix Pro", 6, Qt::CTRL | Qt::Key_Q, Always,
       kNoTag, Call<&MainWindow::ExitClick>},

      {"MenuBar", "editMenu", Menu, "&Edit", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      // The window enables Undo.
      {"editMenu", "undo", Item, "&Undo", "Bring back the icons last removed or cleared", kNoGlyph,
       Qt::CTRL | Qt::Key_Z, Window, kNoTag, Call<&MainWindow::UndoClick>},
      {"editMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"editMenu", "selectAll", Item, "Select &All", "Select all icons", kNoGlyph,
       Qt::CTRL | Qt::Key_A, Always, kNoTag, Call<&MainWindow::SelectAllClick>},
      {"editMenu", "invertSelection", Item, "&Invert Selection", "Invert the selection", kNoGlyph,
       Qt::CTRL | Qt::Key_I, Always, kNoTag, Call<&MainWindow::InvertSelectionClick>},

      // The context menu offers these same items (see BuildCommands).
      {"MenuBar", "saveMenu", Menu, "&Save", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"saveMenu", "saveAs", Item, "Save &As", kSaveAsHint, 9, Qt::CTRL | Qt::Key_S, AnySelected,
       kNoTag, Call<&MainWindow::SaveAsClick>},
      {"saveMenu", "batchSaveAs", Menu, "&Batch Save As", "Batch save", kNoGlyph, kNoKey,
       TwoSelected, kNoTag, nullptr},
      {"batchSaveAs", "batchIcons", Item, "&Icons", "", kNoGlyph, kNoKey, AnySelected, 0,
       CallWith<&MainWindow::BatchSaveClick>},
      {"batchSaveAs", "batchGifs", Item, "&GIFs", "", kNoGlyph, kNoKey, AnySelected, 1,
       CallWith<&MainWindow::BatchSaveClick>},
      {"batchSaveAs", "batchBitmaps", Item, "&Bitmaps", "", kNoGlyph, kNoKey, AnySelected, 2,
       CallWith<&MainWindow::BatchSaveClick>},
      {"batchSaveAs", "batchJpegs", Item, "&JPEGs", "", kNoGlyph, kNoKey, AnySelected, 3,
       CallWith<&MainWindow::BatchSaveClick>},
      {"batchSaveAs", "batchPngs", Item, "&PNGs (largest image, with transparency)", "", kNoGlyph,
       kNoKey, AnySelected, 4, CallWith<&MainWindow::BatchSaveClick>},
      {"saveMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"saveMenu", "saveToLibrary", Item, "Save to Icon &Library", kSaveLibHint, kNoGlyph, kNoKey,
       AnySelected, 0, CallWith<&MainWindow::SaveToLibraryClick>},
      {"saveMenu", "addToLibrary", Item, "A&dd to Icon Library", kAddLibHint, 10, kNoKey,
       AnySelected, 1, CallWith<&MainWindow::SaveToLibraryClick>},
      {"saveMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"saveMenu", "remove", Item, "&Remove", kRemoveHint, 5, kNoKey, AnySelected, kNoTag,
       Call<&MainWindow::RemoveClick>},
      {"saveMenu", "copyToClipboard", Item, "&Copy to Clipboard", kCopyHint, kNoGlyph,
       Qt::CTRL | Qt::Key_C, OneSelected, kNoTag, Call<&MainWindow::CopyToClipboardClick>},
      {"saveMenu", "copyLargestImage", Item, "Copy Largest &Image", kCopyLargestHint, kNoGlyph,
       Qt::CTRL | Qt::SHIFT | Qt::Key_C, OneSelected, kNoTag,
       [](MainWindow& window, QAction*) { window.Parts().Output->CopyLargestImage(); }},
      {"saveMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"saveMenu", "saveCursorTheme", Item, "Save as Cursor &Theme...", kThemeHint, kNoGlyph,
       kNoKey, AnySelected, kNoTag,
       [](MainWindow& window, QAction*) { window.Parts().Output->SaveCursorTheme(); }},

      {"MenuBar", "viewMenu", Menu, "&View", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"viewMenu", "clear", Item, "&Clear", "Clear all icons", kNoGlyph, kNoKey, Always, kNoTag,
       Call<&MainWindow::ClearClick>},
      // The window looks these two up by name.
      {"viewMenu", "problems", Item, "&Problems", "List the files that could not be read", kNoGlyph,
       kNoKey, Window, kNoTag, Call<&MainWindow::ProblemsClick>},
      {"viewMenu", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"viewMenu", "stayOnTop", CheckItem, "Stay on &Top", "Make this window topmost", kNoGlyph,
       kNoKey, Always, kNoTag, Call<&MainWindow::StayOnTopClick>},
      {"viewMenu", "includeCursors", CheckItem, "&Include cursors",
       "Also find cursors in folders and modules (from the next search on)", kNoGlyph, kNoKey,
       Always, kNoTag, Call<&MainWindow::IncludeCursorsClick>},

      {"MenuBar", "helpMenu", Menu, "&Help", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"helpMenu", "contents", Item, "&Contents", "Open the manual", kNoGlyph, Qt::Key_F1, Always,
       kNoTag, Call<&MainWindow::ContentsClick>},
      {"helpMenu", "about", Item, "&About ...", "", kNoGlyph, kNoKey, Always, kNoTag,
       Call<&MainWindow::AboutClick>},

      // Keys without a menu item, anywhere in the window: Delete removes the selected tiles, F10
      // opens the first menu.
      {"Window", "deleteKey", Item, "", "", kNoGlyph, Qt::Key_Delete, Always, kNoTag,
       Call<&MainWindow::RemoveClick>},
      {"Window", "menuKey", Item, "", "", kNoGlyph, Qt::Key_F10, Always, kNoTag,
       [](MainWindow& window, QAction*) {
         window.menuBar()->setActiveAction(window.menuBar()->actions().value(0));
       }},

      // Toolbar buttons show their hint as caption and tool tip; they ignore the selection, and so
      // are actions of their own rather than the menu items'.
      {"ToolBar", "openFilesButton", Item, "Open files", "Open files", 11, kNoKey, Always, kNoTag,
       Call<&MainWindow::OpenFilesClick>},
      {"ToolBar", "openDirectoryButton", Item, "Open a directory", "Open a directory", 8, kNoKey,
       Always, kNoTag, Call<&MainWindow::OpenDirectoryClick>},
      {"ToolBar", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"ToolBar", "removeButton", Item, "Remove icons", "Remove icons", 5, kNoKey, Always, kNoTag,
       Call<&MainWindow::RemoveClick>},
      {"ToolBar", "clearButton", Item, "Clear", "Clear", 4, kNoKey, Always, kNoTag,
       Call<&MainWindow::ClearClick>},
      {"ToolBar", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"ToolBar", "saveButton", Item, "Save", "Save", 9, kNoKey, Always, kNoTag,
       Call<&MainWindow::SaveAsClick>},
  };
  return rows;
}

namespace {

// Makes the row's action in its place: a menu's item, a submenu, a separator or a toolbar button.
// Nullptr for a gap of the toolbar, which has no action.
QAction* PlaceRow(const CommandRow& row, const CommandPlaces& places,
                  std::map<QString, QMenu*>& menus) {
  const QString place = QString::fromLatin1(row.Place);
  const bool onToolBar = place == QLatin1String("ToolBar");
  QMenu* menu = menus.contains(place) ? menus[place] : nullptr;
  if (row.Kind == Separator) {
    if (!onToolBar) return menu->addSeparator();
    auto* gap = new QWidget(places.ToolBar);
    gap->setFixedWidth(kToolBarGap);
    places.ToolBar->addWidget(gap);
    return nullptr;
  }
  if (row.Kind == Menu) {
    QMenu* submenu = menu != nullptr ? menu->addMenu(QString::fromUtf8(row.Caption))
                                     : places.MenuBar->addMenu(QString::fromUtf8(row.Caption));
    menus[QString::fromLatin1(row.Name)] = submenu;
    return submenu->menuAction();
  }
  auto* action = new QAction(QString::fromUtf8(row.Caption), places.Owner);
  action->setCheckable(row.Kind == CheckItem);  // the item toggles its own check mark
  action->setShortcut(QKeySequence(row.Shortcut));
  if (onToolBar) {
    places.ToolBar->addAction(action);
  } else if (place == QLatin1String("Window")) {
    places.Owner->addAction(action);
  } else {
    menu->addAction(action);
  }
  return action;
}

// Gives an item (not a menu or separator) its tip, glyph, tag, command and button.
void SetUpItem(const CommandRow& row, QAction* action, const CommandPlaces& places,
               const std::function<void(CommandHandler, QAction*)>& run) {
  const QString hint = QString::fromUtf8(row.Hint);
  action->setToolTip(hint.isEmpty() ? action->iconText() : hint);
  if (row.Glyph != kNoGlyph) action->setIcon(places.Glyphs.Icon(row.Glyph));
  if (row.Tag != kNoTag) action->setData(row.Tag);
  if (row.Command != nullptr) {
    const CommandHandler command = row.Command;
    QObject::connect(action, &QAction::triggered, places.Owner,
                     [run, command, action] { run(command, action); });
  }
  if (QString::fromLatin1(row.Place) == QLatin1String("ToolBar")) {
    if (QWidget* button = places.ToolBar->widgetForAction(action)) {
      button->setObjectName(QString::fromLatin1(row.Name));
      button->setFixedWidth(kButtonWidth);
    }
  }
}

// The buttons Qt adds to the menu bar and the toolbar for what a narrow window cannot show are
// nameless to a screen reader unless named here.
void NameOverflowButtons(QMenuBar& menuBar, QToolBar& toolBar) {
  const struct {
    QWidget* Owner;
    const char* ObjectName;
    QString Name;
  } buttons[] = {{&menuBar, "qt_menubar_ext_button", QStringLiteral("More menus")},
                 {&toolBar, "qt_toolbar_ext_button", QStringLiteral("More toolbar buttons")}};
  for (const auto& button : buttons) {
    if (auto* found = button.Owner->findChild<QToolButton*>(QLatin1String(button.ObjectName))) {
      found->setAccessibleName(button.Name);
      found->setToolTip(button.Name);
    }
  }
}

}  // namespace

std::vector<BuiltCommand> BuildCommands(const CommandPlaces& places,
                                        const std::function<void(CommandHandler, QAction*)>& run) {
  std::map<QString, QMenu*> menus;
  std::vector<BuiltCommand> built;
  for (const CommandRow& row : MainCommandRows()) {
    QAction* action = PlaceRow(row, places, menus);
    if (action == nullptr) continue;
    action->setObjectName(QString::fromLatin1(row.Name));
    const QString hint = QString::fromUtf8(row.Hint);
    if (!hint.isEmpty()) action->setStatusTip(hint);
    if (row.Kind == Menu || row.Kind == Separator) {
      if (row.Enabled != Always) built.push_back({action, row.Enabled});
      continue;
    }
    SetUpItem(row, action, places, run);
    built.push_back({action, row.Enabled});
  }
  ShareWithContextMenu(*menus.at(QString::fromLatin1(kContextMenuItems)), *places.Popup);
  NameOverflowButtons(*places.MenuBar, *places.ToolBar);
  return built;
}

void ShareWithContextMenu(QMenu& menu, QMenu& contextMenu) {
  for (QAction* action : menu.actions()) {
    // A shortcut is shown in the menu bar's menu only, as the keys work anywhere in the window.
    action->setShortcutVisibleInContextMenu(false);
    contextMenu.addAction(action);
  }
}

std::optional<int> TagOf(const QAction* sender) {
  if (sender == nullptr) return std::nullopt;
  bool isNumber = false;
  const int tag = sender->data().toInt(&isNumber);
  if (!isNumber) return std::nullopt;
  return tag;
}

void EnableForSelection(const std::vector<BuiltCommand>& commands, int selected) {
  for (const BuiltCommand& command : commands) {
    switch (command.Enabled) {
      case EnabledBy::OneSelected:
        command.Action->setEnabled(selected == 1);
        break;
      case EnabledBy::AnySelected:
        command.Action->setEnabled(selected >= 1);
        break;
      case EnabledBy::TwoSelected:
        command.Action->setEnabled(selected >= 2);
        break;
      case EnabledBy::Always:
      case EnabledBy::Window:
        break;
    }
  }
}

}  // namespace pictarix
