#include "ui/window/MainCommands.h"

#include <map>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "ui/IconMain.h"
#include "ui/window/Artwork.h"

namespace pictarix {

namespace {

template <void (TIconMain::*Handler)()>
void Call(TIconMain& window, QAction*) {
  (window.*Handler)();
}

template <void (TIconMain::*Handler)(QAction*)>
void CallWith(TIconMain& window, QAction* sender) {
  (window.*Handler)(sender);
}

using enum TRowKind;
using enum TEnabledBy;
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

}  // namespace

// Ctrl+E is kept free for exporting images.
const std::vector<TCommandRow>& MainCommandRows() {
  static const std::vector<TCommandRow> rows = {
      {"MainMenu1", "Open1", Menu, "&Open", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Open1", "OpenFiles1", Item, "&File(s)", "Search for icons in files", 11,
       Qt::CTRL | Qt::Key_O, Always, kNoTag, Call<&TIconMain::OpenFiles1Click>},
      {"Open1", "SearchDirectory1", Item, "&Directory", "Search for icons in a directory", 8,
       Qt::CTRL | Qt::SHIFT | Qt::Key_O, Always, kNoTag, Call<&TIconMain::SearchDirectory1Click>},
      {"Open1", "N1", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Open1", "Exit1", Item, "E&xit", "Exit Pictarix Pro", 6, Qt::CTRL | Qt::Key_Q, Always,
       kNoTag, Call<&TIconMain::Exit1Click>},

      {"MainMenu1", "Edit1", Menu, "&Edit", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Edit1", "SelectAll1", Item, "Select &All", "Select all icons", kNoGlyph,
       Qt::CTRL | Qt::Key_A, Always, kNoTag, Call<&TIconMain::SelectAll1Click>},
      {"Edit1", "InvertSelection1", Item, "&Invert Selection", "Invert the selection", kNoGlyph,
       Qt::CTRL | Qt::Key_I, Always, kNoTag, Call<&TIconMain::InvertSelection1Click>},

      {"MainMenu1", "Save1", Menu, "&Save", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Save1", "SaveAs2", Item, "Save &As", kSaveAsHint, 9, Qt::CTRL | Qt::Key_S, AnySelected,
       kNoTag, Call<&TIconMain::SaveAs1Click>},
      {"Save1", "BatchSaveAs2", Menu, "&Batch Save As", "Batch save", kNoGlyph, kNoKey, TwoSelected,
       kNoTag, nullptr},
      {"BatchSaveAs2", "AsIcons2", Item, "&Icons", "", kNoGlyph, kNoKey, AnySelected, 0,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs2", "AsGIFs1", Item, "&GIFs", "", kNoGlyph, kNoKey, AnySelected, 1,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs2", "AsBitmaps2", Item, "&Bitmaps", "", kNoGlyph, kNoKey, AnySelected, 2,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs2", "AsJPEGs2", Item, "&JPEGs", "", kNoGlyph, kNoKey, AnySelected, 3,
       CallWith<&TIconMain::BatchSaveClick>},
      {"Save1", "N8", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Save1", "SaveLib2", Item, "Save to Icon &Library", kSaveLibHint, kNoGlyph, kNoKey,
       AnySelected, 0, CallWith<&TIconMain::SaveLib1Click>},
      {"Save1", "AddLib2", Item, "A&dd to Icon Library", kAddLibHint, 10, kNoKey, AnySelected, 1,
       CallWith<&TIconMain::SaveLib1Click>},
      {"Save1", "N9", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Save1", "Remove1", Item, "&Remove", kRemoveHint, 5, kNoKey, AnySelected, kNoTag,
       Call<&TIconMain::RemoveClick>},
      {"Save1", "CopyClipBrd2", Item, "&Copy to Clipboard", kCopyHint, kNoGlyph,
       Qt::CTRL | Qt::Key_C, OneSelected, kNoTag, Call<&TIconMain::CopyClipBrd1Click>},

      {"MainMenu1", "View1", Menu, "&View", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"View1", "Clear1", Item, "&Clear", "Clear all icons", kNoGlyph, kNoKey, Always, kNoTag,
       Call<&TIconMain::Clear1Click>},
      {"View1", "Problems1", Item, "&Problems", "List the files that could not be read", kNoGlyph,
       kNoKey, Window, kNoTag, Call<&TIconMain::Problems1Click>},
      {"View1", "N4", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"View1", "StayonTop1", CheckItem, "Stay on &Top", "Make this window topmost", kNoGlyph,
       kNoKey, Always, kNoTag, Call<&TIconMain::StayonTop1Click>},

      {"MainMenu1", "Help1", Menu, "&Help", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"Help1", "Contents1", Item, "&Contents", "Open the manual", kNoGlyph, Qt::Key_F1, Always,
       kNoTag, Call<&TIconMain::Contents1Click>},
      {"Help1", "About1", Item, "&About ...", "", kNoGlyph, kNoKey, Always, kNoTag,
       Call<&TIconMain::About1Click>},

      // The context menu repeats the "Save" menu's captions, hints, glyphs and tags.
      {"PopupMenu1", "SaveAs1", Item, "Save &As", kSaveAsHint, 9, kNoKey, AnySelected, kNoTag,
       Call<&TIconMain::SaveAs1Click>},
      {"PopupMenu1", "BatchSaveAs1", Menu, "&Batch Save As", "Batch save", kNoGlyph, kNoKey,
       TwoSelected, kNoTag, nullptr},
      {"BatchSaveAs1", "AsIcons1", Item, "&Icons", "", kNoGlyph, kNoKey, AnySelected, 0,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs1", "AsGIFs2", Item, "&GIFs", "", kNoGlyph, kNoKey, AnySelected, 1,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs1", "AsBitmaps1", Item, "&Bitmaps", "", kNoGlyph, kNoKey, AnySelected, 2,
       CallWith<&TIconMain::BatchSaveClick>},
      {"BatchSaveAs1", "AsJpegs1", Item, "&JPEGs", "", kNoGlyph, kNoKey, AnySelected, 3,
       CallWith<&TIconMain::BatchSaveClick>},
      {"PopupMenu1", "N6", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"PopupMenu1", "SaveLib1", Item, "Save to Icon &Library", kSaveLibHint, kNoGlyph, kNoKey,
       AnySelected, 0, CallWith<&TIconMain::SaveLib1Click>},
      {"PopupMenu1", "AddLib1", Item, "A&dd to Icon Library", kAddLibHint, 10, kNoKey, AnySelected,
       1, CallWith<&TIconMain::SaveLib1Click>},
      {"PopupMenu1", "N5", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"PopupMenu1", "Remove2", Item, "&Remove", kRemoveHint, 5, kNoKey, AnySelected, kNoTag,
       Call<&TIconMain::RemoveClick>},
      {"PopupMenu1", "CopyClipBrd1", Item, "&Copy to Clipboard", kCopyHint, kNoGlyph, kNoKey,
       OneSelected, kNoTag, Call<&TIconMain::CopyClipBrd1Click>},

      // Keys without a menu item, anywhere in the window: Delete removes the selected tiles, F10
      // opens the first menu.
      {"Window", "DeleteKey", Item, "", "", kNoGlyph, Qt::Key_Delete, Always, kNoTag,
       Call<&TIconMain::RemoveClick>},
      {"Window", "MenuKey", Item, "", "", kNoGlyph, Qt::Key_F10, Always, kNoTag,
       [](TIconMain& window, QAction*) {
         window.menuBar()->setActiveAction(window.menuBar()->actions().value(0));
       }},

      // Toolbar buttons show their hint as caption and tool tip; they ignore the selection.
      {"ToolBar1", "FileBtn", Item, "Open files", "Open files", 11, kNoKey, Always, kNoTag,
       Call<&TIconMain::OpenFiles1Click>},
      {"ToolBar1", "DirBtn", Item, "Open a directory", "Open a directory", 8, kNoKey, Always,
       kNoTag, Call<&TIconMain::SearchDirectory1Click>},
      {"ToolBar1", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"ToolBar1", "DelBtn", Item, "Remove icons", "Remove icons", 5, kNoKey, Always, kNoTag,
       Call<&TIconMain::RemoveClick>},
      {"ToolBar1", "ClearBtn", Item, "Clear", "Clear", 4, kNoKey, Always, kNoTag,
       Call<&TIconMain::Clear1Click>},
      {"ToolBar1", "", Separator, "", "", kNoGlyph, kNoKey, Always, kNoTag, nullptr},
      {"ToolBar1", "SaveBtn", Item, "Save", "Save", 9, kNoKey, Always, kNoTag,
       Call<&TIconMain::SaveAs1Click>},
  };
  return rows;
}

std::vector<TBuiltCommand> BuildCommands(const TCommandPlaces& places,
                                         const std::function<void(TCommand, QAction*)>& run) {
  std::map<QString, QMenu*> menus{{QStringLiteral("PopupMenu1"), places.Popup}};
  std::vector<TBuiltCommand> built;
  for (const TCommandRow& row : MainCommandRows()) {
    const QString place = QString::fromLatin1(row.Place);
    const QString name = QString::fromLatin1(row.Name);
    const bool onToolBar = place == QLatin1String("ToolBar1");
    const bool onWindow = place == QLatin1String("Window");
    QMenu* menu = menus.contains(place) ? menus[place] : nullptr;
    QAction* action = nullptr;
    if (row.Kind == Separator) {
      if (onToolBar) {
        auto* gap = new QWidget(places.ToolBar);
        gap->setFixedWidth(kToolBarGap);
        places.ToolBar->addWidget(gap);
        continue;
      }
      action = menu->addSeparator();
    } else if (row.Kind == Menu) {
      QMenu* submenu = menu != nullptr ? menu->addMenu(QString::fromUtf8(row.Caption))
                                       : places.MenuBar->addMenu(QString::fromUtf8(row.Caption));
      menus[name] = submenu;
      action = submenu->menuAction();
    } else {
      action = new QAction(QString::fromUtf8(row.Caption), places.Owner);
      action->setCheckable(row.Kind == CheckItem);  // the item toggles its own check mark
      action->setShortcut(QKeySequence(row.Shortcut));
      if (onToolBar) {
        places.ToolBar->addAction(action);
      } else if (onWindow) {
        places.Owner->addAction(action);
      } else {
        menu->addAction(action);
      }
    }
    action->setObjectName(name);
    const QString hint = QString::fromUtf8(row.Hint);
    if (!hint.isEmpty()) action->setStatusTip(hint);
    if (row.Kind == Menu || row.Kind == Separator) {
      if (row.Enabled != Always) built.push_back({action, row.Enabled});
      continue;
    }
    action->setToolTip(hint.isEmpty() ? action->iconText() : hint);
    if (row.Glyph != kNoGlyph) action->setIcon(places.Glyphs.Icon(row.Glyph));
    if (row.Tag != kNoTag) action->setData(row.Tag);
    if (row.Command != nullptr) {
      const TCommand command = row.Command;
      QObject::connect(action, &QAction::triggered, places.Owner,
                       [run, command, action] { run(command, action); });
    }
    if (onToolBar) {
      if (QWidget* button = places.ToolBar->widgetForAction(action)) {
        button->setObjectName(name);
        button->setFixedWidth(kButtonWidth);
      }
    }
    built.push_back({action, row.Enabled});
  }
  return built;
}

std::optional<int> TagOf(const QAction* sender) {
  if (sender == nullptr) return std::nullopt;
  bool isNumber = false;
  const int tag = sender->data().toInt(&isNumber);
  if (!isNumber) return std::nullopt;
  return tag;
}

void EnableForSelection(const std::vector<TBuiltCommand>& commands, int selected) {
  for (const TBuiltCommand& command : commands) {
    switch (command.Enabled) {
      case TEnabledBy::OneSelected:
        command.Action->setEnabled(selected == 1);
        break;
      case TEnabledBy::AnySelected:
        command.Action->setEnabled(selected >= 1);
        break;
      case TEnabledBy::TwoSelected:
        command.Action->setEnabled(selected >= 2);
        break;
      case TEnabledBy::Always:
      case TEnabledBy::Window:
        break;
    }
  }
}

}  // namespace pictarix
