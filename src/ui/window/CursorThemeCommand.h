#pragma once
// "Save as Cursor Theme...": the selected cursors as an Xcursor theme, each role taking the
// cursor whose caption names it (as a Windows scheme's file would be named).
#include <functional>

#include <QString>
#include <QStringList>

#include "output/EntrySelection.h"

class QWidget;

namespace pictarix {

class Dialogs;

// The name a theme of entries with these captions is offered: their common beginning, without
// the spaces and separators it ends in; "Cursors" when that leaves nothing.
QString ProposedThemeName(const QStringList& captions);

// Asks for a folder (starting where this command was last used) and a name, then writes the
// theme of the selection's cursors and says where, and which roles had none. Icons among the
// selection are passed over and counted in the message. The selection is taken after the
// questions, through `selected`, since the list may change while they are open. Answers the
// theme's folder, empty when nothing was written.
QString SaveCursorTheme(Dialogs& dialogs, QWidget* parent,
                        const std::function<EntrySelection()>& selected);

}  // namespace pictarix
