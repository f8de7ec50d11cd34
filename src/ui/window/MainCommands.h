#pragma once
// The window's commands as one table, from which the menu bar, the list's context menu and the
// toolbar are built: one action per command and place, the context menu sharing the Save menu's
// actions. A new command is one row in MainCommands.cpp plus its handler.
#include <functional>
#include <optional>
#include <vector>

#include <QKeySequence>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace pictarix {

class ButtonArtwork;
class MainWindow;

// When a command is enabled: always, by the number of selected tiles, or as the window says.
enum class EnabledBy { Always, OneSelected, AnySelected, TwoSelected, Window };

using CommandHandler = void (*)(MainWindow& window, QAction* sender);

enum class RowKind { Menu, Item, CheckItem, Separator };

struct CommandRow {
  // "MenuBar", "ToolBar", "Window" (a key only) or the Name of a Menu row above.
  const char* Place;
  const char* Name;  // the action's object name
  RowKind Kind;
  const char* Caption;  // "&" marks the underlined letter
  const char* Hint;
  int Glyph;  // index into BtnImgs, or -1
  QKeyCombination Shortcut;
  EnabledBy Enabled;
  int Tag;  // the item's tag, or -1
  CommandHandler Command;
};

const std::vector<CommandRow>& MainCommandRows();

struct CommandPlaces {
  QMenuBar* MenuBar;
  QMenu* Popup;  // the list's context menu
  QToolBar* ToolBar;
  const ButtonArtwork& Glyphs;
  QWidget* Owner;  // parent of the actions
};

struct BuiltCommand {
  QAction* Action;
  EnabledBy Enabled;
};

// Builds every row, in order. `run` carries out a row's command for the item that was triggered.
std::vector<BuiltCommand> BuildCommands(const CommandPlaces& places,
                                        const std::function<void(CommandHandler, QAction*)>& run);

// Adds `menu`'s actions (separators and submenus too) to `contextMenu`, so that both offer the
// same actions; their shortcuts are shown in `menu` only.
void ShareWithContextMenu(QMenu& menu, QMenu& contextMenu);

// The tag of a triggered item; nullopt without an item or a tag.
std::optional<int> TagOf(const QAction* sender);

// Enables the items that follow the selection for `selected` tiles.
void EnableForSelection(const std::vector<BuiltCommand>& commands, int selected);

}  // namespace pictarix
